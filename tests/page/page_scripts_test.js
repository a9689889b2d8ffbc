// The page's scripts under node: options.js (the address as the program's
// command line, the folder an own show is read from) and zip.js (the .zip
// reader) with good, broken and hostile archives.
//   node page_scripts_test.js <the web folder>
'use strict';
const assert = require('assert');
const path = require('path');
const zlib = require('zlib');

const web = path.resolve(process.argv[2]);
const { argumentsFromQuery, ownDataFolder } = require(path.join(web, 'options.js'));
const { readZip, zipLimits, ZipError } = require(path.join(web, 'zip.js'));

// The browser's raw-deflate stream where node has it (node 20); else the
// same archive logic on node's zlib, cut off at the declared size.
const browserInflate = (() => {
  try {
    new DecompressionStream('deflate-raw');
    return undefined;  // readZip's own
  } catch (e) {
    return async (bytes, size) => {
      const out = zlib.inflateRawSync(bytes, { maxOutputLength: Math.max(size, 1) });
      if (out.length !== size) throw new ZipError('an entry unpacks to less than it says');
      return new Uint8Array(out);
    };
  }
})();
const read = (bytes) => readZip(bytes, browserInflate);

// ---- A small zip writer for the cases ----
function zip(entries) {
  const locals = [], centrals = [];
  let offset = 0;
  for (const e of entries) {
    const name = Buffer.from(e.name);
    const data = Buffer.from(e.data || '');
    const method = e.method === undefined ? 8 : e.method;
    const packed = e.packed || (method === 8 ? zlib.deflateRawSync(data) : data);
    const size = e.size === undefined ? data.length : e.size;
    const local = Buffer.alloc(30);
    local.writeUInt32LE(0x04034b50, 0);
    local.writeUInt16LE(e.flags || 0, 6);
    local.writeUInt16LE(method, 8);
    local.writeUInt32LE(packed.length, 18);
    local.writeUInt32LE(size, 22);
    local.writeUInt16LE(name.length, 26);
    const central = Buffer.alloc(46);
    central.writeUInt32LE(0x02014b50, 0);
    central.writeUInt16LE(e.flags || 0, 8);
    central.writeUInt16LE(method, 10);
    central.writeUInt32LE(packed.length, 20);
    central.writeUInt32LE(size, 24);
    central.writeUInt16LE(name.length, 28);
    central.writeUInt32LE(e.localOffset === undefined ? offset : e.localOffset, 42);
    locals.push(local, name, packed);
    centrals.push(central, name);
    offset += 30 + name.length + packed.length;
  }
  const directory = Buffer.concat(centrals);
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054b50, 0);
  end.writeUInt16LE(entries.length, 8);
  end.writeUInt16LE(entries.length, 10);
  end.writeUInt32LE(directory.length, 12);
  end.writeUInt32LE(offset, 16);
  return new Uint8Array(Buffer.concat([...locals, directory, end]));
}

const cases = [];
const test = (name, body) => cases.push({ name, body });
const rejects = async (bytes, pattern) => {
  await assert.rejects(read(bytes), (e) => e instanceof ZipError && pattern.test(e.message));
};

test('the address as the command line', () => {
  assert.deepStrictEqual(argumentsFromQuery('?no-dialog&no-music&start=150&end=151&mode=640x480&max-fps=60&fps=60'),
    ['--no-dialog', '--no-music', '--start', '150', '--end', '151', '--mode', '640x480', '--max-fps', '60', '--fps', '60']);
  assert.deepStrictEqual(argumentsFromQuery(''), []);
  assert.deepStrictEqual(argumentsFromQuery('?a&&b='), ['--a', '--b', '']);
  assert.deepStrictEqual(argumentsFromQuery('?data=%2Fown%20show+1&x=a=b'), ['--data', '/own show 1', '--x', 'a=b']);
  assert.deepStrictEqual(argumentsFromQuery('?start=%E0%A4%A'), ['--start', '%E0%A4%A']);  // left as written
});

test('an own show is read from its one top folder, else from the root', () => {
  assert.strictEqual(ownDataFolder(['data/script/scene.dat', 'data/textures/a.bmp']), '/own/data');
  assert.strictEqual(ownDataFolder(['show/data/script/scene.dat', 'show/readme.txt']), '/own/show');
  assert.strictEqual(ownDataFolder(['script/scene.dat', 'textures/a.bmp']), '/own');
  assert.strictEqual(ownDataFolder(['data/script/scene.dat', 'notes.txt']), '/own');
});

test('stored and deflated entries come back; folders are skipped; backslashes become slashes', async () => {
  const files = await read(zip([
    { name: 'data/', data: '', method: 0 },
    { name: 'data\\script\\scene.dat', data: 'CAMERA_POSITION=1 2 3\n'.repeat(50) },
    { name: 'data/textures/a.bmp', data: 'BM1234', method: 0 },
    { name: './data/empty.txt', data: '' },
  ]));
  assert.deepStrictEqual(files.map((f) => f.path), ['data/script/scene.dat', 'data/textures/a.bmp', 'data/empty.txt']);
  assert.strictEqual(Buffer.from(files[0].data).toString(), 'CAMERA_POSITION=1 2 3\n'.repeat(50));
  assert.strictEqual(Buffer.from(files[1].data).toString(), 'BM1234');
  assert.strictEqual(files[2].data.length, 0);
});

test('what is not a zip, or a damaged one, is refused with a reason', async () => {
  await rejects(new Uint8Array(0), /not a .zip/);
  await rejects(new TextEncoder().encode('PK but nothing else'), /not a .zip/);
  const good = zip([{ name: 'a.txt', data: 'hello hello hello' }]);
  await rejects(good.slice(10), /directory|outside|damaged/);  // the front cut away
  const badOffset = zip([{ name: 'a.txt', data: 'x', localOffset: 1 << 30 }]);
  await rejects(badOffset, /damaged/);
  const longEntry = zip([{ name: 'a.txt', data: 'abc', method: 0 }]);
  const directoryAt = new DataView(longEntry.buffer).getUint32(longEntry.length - 6, true);
  new DataView(longEntry.buffer).setUint32(directoryAt + 20, 1 << 20, true);  // packed size past the end
  await rejects(longEntry, /outside the file/);
  const badDeflate = zip([{ name: 'a.txt', data: 'abc', packed: Buffer.from([0xff, 0xff, 0xff, 0xff]), size: 3 }]);
  await rejects(badDeflate, /damaged|less/);
});

test('entries that are encrypted, packed otherwise, outside the folder or ZIP64 are refused', async () => {
  await rejects(zip([{ name: 'a.txt', data: 'x', flags: 1 }]), /encrypted/);
  await rejects(zip([{ name: 'a.txt', data: 'x', method: 12 }]), /packed in a way/);
  await rejects(zip([{ name: '../evil.txt', data: 'x' }]), /outside its folder/);
  await rejects(zip([{ name: 'data/../../evil.txt', data: 'x' }]), /outside its folder/);
  await rejects(zip([{ name: 'C:/evil.txt', data: 'x' }]), /outside its folder/);
  const zip64 = zip([{ name: 'a.txt', data: 'x' }]);
  new DataView(zip64.buffer).setUint32(zip64.length - 6, 0xffffffff, true);
  await rejects(zip64, /ZIP64/);
});

test('sizes are bounded before anything is unpacked, and output never passes what an entry declares', async () => {
  await rejects(zip([{ name: 'big.bin', data: 'x', size: zipLimits.entryBytes + 1 }]), /larger than/);
  const many = [];
  for (let i = 0; i < 5; ++i) many.push({ name: 'f' + i, data: 'x', size: zipLimits.totalBytes / 4 });
  await rejects(zip(many), /more than/);
  // A bomb: 32 MiB of zeros packed into a few KiB, declared as 1 KiB.
  const bomb = zlib.deflateRawSync(Buffer.alloc(32 << 20));
  await rejects(zip([{ name: 'bomb.bin', packed: bomb, size: 1024 }]), /more than it says/);
  const tooMany = [];
  for (let i = 0; i <= zipLimits.entries; ++i) tooMany.push({ name: 'f' + i, data: '', method: 0 });
  await rejects(zip(tooMany), /more than \d+ entries/);
});

test('any corruption of a good archive reads or is refused, never anything else', async () => {
  const good = zip([
    { name: 'data/script/scene.dat', data: 'FILENAME=data\\meshes\\a.3ds\n'.repeat(20) },
    { name: 'data/textures/a.bmp', data: 'BM' + 'x'.repeat(300), method: 0 },
  ]);
  let seed = 12345;
  const random = (n) => ((seed = (seed * 1103515245 + 12345) >>> 0) % n);
  for (let round = 0; round < 3000; ++round) {
    const bytes = good.slice(0, round % 7 === 0 ? random(good.length) : good.length);
    for (let flips = 1 + random(4); flips > 0 && bytes.length; --flips) bytes[random(bytes.length)] = random(256);
    try {
      const files = await read(bytes);
      for (const f of files) assert.ok(f.data.length <= zipLimits.entryBytes);
    } catch (e) {
      if (!(e instanceof ZipError)) throw new Error('round ' + round + ': ' + e.stack);
    }
  }
});

(async () => {
  let failed = 0;
  for (const c of cases) {
    try {
      await c.body();
      console.log('ok   ' + c.name);
    } catch (e) {
      ++failed;
      console.log('FAIL ' + c.name + '\n' + (e.stack || e));
    }
  }
  process.exit(failed ? 1 : 0);
})();
