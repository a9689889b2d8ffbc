// The page's address as the program's command line, and where an own show's
// files go. Also loaded by node for the tests (module.exports at the end).
'use strict';

// "?no-dialog&start=150&mode=640x480" -> ["--no-dialog", "--start", "150",
// "--mode", "640x480"]: each option without its dashes, a value after "=",
// both URL-decoded ("+" is a space, as in a form). The program's own parser
// judges them.
function argumentsFromQuery(search) {
  const decode = (text) => {
    try {
      return decodeURIComponent(text.replace(/\+/g, ' '));
    } catch (e) {
      return text;
    }
  };
  const args = [];
  for (const part of search.replace(/^\?/, '').split('&')) {
    if (part === '') continue;
    const equals = part.indexOf('=');
    args.push('--' + decode(equals < 0 ? part : part.slice(0, equals)));
    if (equals >= 0) args.push(decode(part.slice(equals + 1)));
  }
  return args;
}

// The in-memory folder an own show's files are written under, and the
// --data folder to give the program: the one top folder when every file lies
// in the same one (a chosen folder, or a .zip of a folder), else the root.
// The program then takes that folder or its "data" folder, as it does --data.
const ownRoot = '/own';
function ownDataFolder(paths) {
  const tops = new Set(paths.map((p) => (p.includes('/') ? p.slice(0, p.indexOf('/')) : '')));
  const [top] = tops;
  return tops.size === 1 && top !== '' ? ownRoot + '/' + top : ownRoot;
}

if (typeof module !== 'undefined') module.exports = { argumentsFromQuery, ownDataFolder, ownRoot };
