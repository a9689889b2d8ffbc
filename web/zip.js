// Reading a .zip the visitor gives the page, for their own show. The file is
// untrusted: every count, size and offset is checked against the file and
// against the limits below before it is used, only stored and deflated
// entries are read (deflate by the browser's DecompressionStream), an
// entry's output is cut off as soon as it would pass the size the archive
// declares, and anything else ends the reading with a ZipError saying why.
// Also loaded by node for the tests (module.exports at the end).
'use strict';

const zipLimits = {
  entries: 4096,               // files and folders in one archive
  entryBytes: 64 * 1024 * 1024, // one file, unpacked
  totalBytes: 256 * 1024 * 1024, // all files, unpacked
  nameBytes: 1024,             // one path
};

class ZipError extends Error {}

// "data\\Script/x.dat" -> "data/Script/x.dat"; null for a folder entry or a
// path that would leave the archive's folder.
function zipEntryPath(name) {
  const parts = name.replace(/\\/g, '/').split('/');
  if (parts[parts.length - 1] === '') return null;
  const kept = parts.filter((p) => p !== '' && p !== '.');
  if (kept.some((p) => p === '..') || /^[a-zA-Z]:$/.test(kept[0] || '')) throw new ZipError('an entry lies outside its folder: ' + name);
  return kept.join('/');
}

// The raw-deflate stream of the browser (or of node in the tests), read
// chunk by chunk and cut off past `size` bytes.
async function inflateRaw(bytes, size) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  const reader = stream.getReader();
  const out = new Uint8Array(size);
  let length = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      if (length + value.length > size) throw new ZipError('an entry unpacks to more than it says');
      out.set(value, length);
      length += value.length;
    }
  } catch (e) {
    reader.cancel().catch(() => {});
    throw e instanceof ZipError ? e : new ZipError('an entry is damaged');
  }
  if (length !== size) throw new ZipError('an entry unpacks to less than it says');
  return out;
}

// The archive's files as [{path, data}] (data a Uint8Array), in the order of
// its central directory.
async function readZip(buffer, inflate = inflateRaw) {
  const bytes = new Uint8Array(buffer);
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const u16 = (at) => view.getUint16(at, true);
  const u32 = (at) => view.getUint32(at, true);
  const fits = (at, length) => at >= 0 && length >= 0 && at + length <= bytes.length;

  // The end record: in the last 22 + 65535 bytes, searched from the end.
  let end = -1;
  for (let at = bytes.length - 22; at >= 0 && at >= bytes.length - 22 - 65535; --at) {
    if (u32(at) === 0x06054b50 && at + 22 + u16(at + 20) <= bytes.length) { end = at; break; }
  }
  if (end < 0) throw new ZipError('it is not a .zip file');
  const count = u16(end + 10);
  const directorySize = u32(end + 12);
  let at = u32(end + 16);
  if (count === 0xffff || at === 0xffffffff) throw new ZipError('ZIP64 archives are not read');
  if (count > zipLimits.entries) throw new ZipError('it holds more than ' + zipLimits.entries + ' entries');
  if (!fits(at, directorySize)) throw new ZipError('its directory lies outside the file');

  // First the whole directory, so that nothing is unpacked from an archive
  // whose sizes or names are refused.
  const entries = [];
  let total = 0;
  for (let i = 0; i < count; ++i) {
    if (!fits(at, 46) || u32(at) !== 0x02014b50) throw new ZipError('its directory is damaged');
    const flags = u16(at + 8), method = u16(at + 10);
    const packed = u32(at + 20), size = u32(at + 24);
    const nameLength = u16(at + 28), extraLength = u16(at + 30), commentLength = u16(at + 32);
    const local = u32(at + 42);
    if (nameLength > zipLimits.nameBytes || !fits(at + 46, nameLength)) throw new ZipError('its directory is damaged');
    const name = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
    at += 46 + nameLength + extraLength + commentLength;
    const path = zipEntryPath(name);
    if (path === null) continue;
    if (flags & 1) throw new ZipError('an entry is encrypted: ' + name);
    if (method !== 0 && method !== 8) throw new ZipError('an entry is packed in a way not read here: ' + name);
    if (size > zipLimits.entryBytes) throw new ZipError('an entry is larger than ' + (zipLimits.entryBytes >> 20) + ' MiB: ' + name);
    total += size;
    if (total > zipLimits.totalBytes) throw new ZipError('it unpacks to more than ' + (zipLimits.totalBytes >> 20) + ' MiB');
    if (!fits(local, 30) || u32(local) !== 0x04034b50) throw new ZipError('an entry is damaged: ' + name);
    const dataAt = local + 30 + u16(local + 26) + u16(local + 28);
    if (!fits(dataAt, packed)) throw new ZipError('an entry lies outside the file: ' + name);
    if (method === 0 && packed !== size) throw new ZipError('an entry is damaged: ' + name);
    entries.push({ path, method, size, raw: bytes.subarray(dataAt, dataAt + packed) });
  }
  const files = [];
  for (const e of entries) files.push({ path: e.path, data: e.method === 0 ? e.raw.slice() : await inflate(e.raw, e.size) });
  return files;
}

if (typeof module !== 'undefined') module.exports = { readZip, zipEntryPath, zipLimits, ZipError };
