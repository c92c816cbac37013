// Reads a .usda file with a USD reader we did not write and prints what it saw
// as one JSON document on stdout (exit 0), or the reader's complaint on stderr
// (exit 1).
//
//   node read_usd.mjs [--reader usd|tinyusdz] [--timeout SECONDS] [--lights] FILE.usda
//
// With --lights it prints only the lights as the reader saw them (see lightsOf).
//
// Output: { reader, defaultPrim, upAxis, metersPerUnit, documentation,
//           prims: [ { path, type, attributes: {name: value}, types: {name: type},
//                      apiSchemas: [...], worldMatrix? } ] }
// Only authored attributes are listed (no relationships). Tuples (color3f,
// double3) become arrays.
//
// Reader "usd": the USD library itself (v0.22) built to WebAssembly, shipped in
// three-usdz-loader/external/emHdBindings.*. Its JS bindings are partial:
//  - no prim traversal on the stage: prims and their authored attributes are
//    found by walking the root layer (SdfLayer.Traverse), so only what the file
//    itself authors is seen (no sublayers or references are followed);
//  - no getters for stage metadata or apiSchemas: those are taken from the
//    layer as USD writes it back out (SdfLayer.ExportToString);
//  - type names are C++ value types (float, double, int, GfVec3f, GfVec3d,
//    TfToken, VtArray<TfToken>); float values show their float32 rounding
//    (0.9 reads as 0.8999999761581421); values it cannot hand to JS
//    (matrix4d, half, quatf) are listed as null;
//  - the build cannot catch C++ exceptions, so a value of the wrong type in the
//    text (float x = "bright") aborts the module; this is reported as a
//    rejection ("aborted");
//  - schema types are not enforced: `double inputs:intensity` is accepted.
//
// Reader "tinyusdz": the independent C++ reader (npm tinyusdz). Its JS API
// offers no attribute getters:
//  - the file must pass loadFromBinary, which rebuilds every prim against its
//    schema and rejects mistyped schema attributes (`double inputs:intensity`);
//  - prims, types, attributes and metadata come from its own re-serialisation
//    of the parsed layer (layerToString), types are USD names (float, color3f);
//  - worldMatrix (16 numbers, row-major, translation in 12..14) comes from its
//    render scene nodes; DistantLight nodes come back there without a name, so
//    they have no worldMatrix;
//  - duplicate sibling prim names are accepted silently.
//
// The USD build starts worker threads that can keep Node alive after the
// result is printed, so every exit is explicit.

import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';

const require = createRequire(import.meta.url);

function packageDir(name) {
  return path.dirname(require.resolve(`${name}/package.json`));
}

function fail(message) {
  process.stderr.write(`${message}\n`, () => process.exit(1));
}

// The reader refused the file (as opposed to failing to start).
class Rejected extends Error {}

// ---- Reading USD text as the readers write it back out ----------------------

// Turns a value as written in .usda into JSON: tuples become arrays,
// single-quoted strings and asset paths become JSON strings.
function parseValue(text, type) {
  const json = text.replace(/"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*'|@[^@]*@|[()]/g, (t) => {
    if (t === '(' || t === ')') return t === '(' ? '[' : ']';
    if (t[0] === '"') return t;
    return JSON.stringify(t.slice(1, -1).replace(/\\(.)/g, '$1'));
  });
  let value;
  try { value = JSON.parse(json); } catch { return text; }
  if (type === 'bool') return Boolean(value);
  return value;
}

// Parses layer text in the layout USD and tinyusdz write (four spaces per
// level, one attribute per line): stage metadata, prims with their type,
// apiSchemas and attribute values.
function parseLayerText(text) {
  const lines = text.split('\n');
  const meta = {};
  const prims = [];
  let i = 1;
  if (lines[1]?.trim() === '(') {
    for (i = 2; i < lines.length && lines[i].trim() !== ')'; i++) {
      const m = lines[i].match(/^\s*(\w+) = (.*)$/);
      if (!m) continue;
      let value = m[2];
      if (value.startsWith('"""')) {
        while (!value.endsWith('"""') || value.length < 6) value += `\n${lines[++i]}`;
        meta[m[1]] = value.slice(3, -3);
      } else {
        meta[m[1]] = parseValue(value);
      }
    }
  }
  const names = [];
  let current = null;
  let inMeta = false;
  for (; i < lines.length; i++) {
    const line = lines[i];
    const depth = line.search(/\S/) / 4;
    const prim = line.match(/^\s*(?:def|over|class)\s+(?:(\w+)\s+)?"([^"]+)"\s*(.*)$/);
    if (prim) {
      names.length = depth;
      names.push(prim[2]);
      current = { path: `/${names.join('/')}`, type: prim[1] ?? '', attributes: {}, types: {}, apiSchemas: [] };
      prims.push(current);
      inMeta = prim[3] === '(' || (!prim[3] && lines[i + 1]?.trim() === '(');
      if (!inMeta) readApiSchemas(current, prim[3]);
      continue;
    }
    if (inMeta) {
      readApiSchemas(current, line);
      if (line.trim() === ')') inMeta = false;
      continue;
    }
    const attr = line.match(/^\s*(?:custom\s+)?(?:uniform\s+)?([\w]+(?:\[\])?)\s+([\w:]+)\s*=\s*(.+?)(\s+\()?\s*$/);
    if (attr && attr[1] !== 'rel' && current && depth === names.length) {
      current.types[attr[2]] = attr[1];
      current.attributes[attr[2]] = parseValue(attr[3], attr[1]);
      inMeta = Boolean(attr[4]); // the attribute's own metadata follows, up to ')'
    }
  }
  return { meta, prims };
}

function readApiSchemas(prim, text) {
  const api = text.match(/(?:prepend |append |add )?apiSchemas = (\[[^\]]*\])/);
  if (api) prim.apiSchemas.push(...parseValue(api[1]));
}

function stageFields(meta) {
  return {
    defaultPrim: meta.defaultPrim ?? null,
    upAxis: meta.upAxis ?? null,
    metersPerUnit: meta.metersPerUnit ?? null,
    documentation: meta.doc ?? null,
  };
}

// ---- Reader "usd": the USD library ------------------------------------------

// The USD build expects a web page: it looks at `location` and fetches its
// .data package (schema and plugin files) with XMLHttpRequest. These stand-ins
// serve the bytes from disk. Its worker threads evaluate the same script, so
// the stand-ins are installed there too.
function installPageStandIns(require, dir) {
  globalThis.location = { pathname: '/', href: 'file:///' };
  globalThis.XMLHttpRequest = class {
    open(method, url) { this.url = url; }
    send() {
      setTimeout(() => {
        const bytes = require('fs').readFileSync(require('path').resolve(dir, this.url));
        this.status = 200;
        this.response = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
        this.onload({});
      });
    }
  };
}

// Diagnostics this build prints for a plugin it lacks, whatever the file.
const BUILD_NOISE = /Failed to find plugin for schema type 'UsdVol/;

async function readWithUsd(file) {
  const dir = path.join(packageDir('three-usdz-loader'), 'external');
  installPageStandIns(require, dir);
  const workerThreads = require('node:worker_threads');
  const NodeWorker = workerThreads.Worker;
  const prelude = `(${installPageStandIns})(require, ${JSON.stringify(dir)});`;
  workerThreads.Worker = class extends NodeWorker {
    constructor(script, options) {
      super(`${prelude}\nrequire(${JSON.stringify(script)});`, { ...options, eval: true });
    }
  };

  const diagnostics = [];
  const note = (text) => { if (text.trim() && !BUILD_NOISE.test(text)) diagnostics.push(text); };
  const getUsdModule = require(path.join(dir, 'emHdBindings.js'));
  const usd = await getUsdModule({
    wasmBinary: fs.readFileSync(path.join(dir, 'emHdBindings.wasm')),
    print: note,
    printErr: note,
  });

  usd.FS.createDataFile('/', 'input.usda', fs.readFileSync(file), true, true, false);
  let stage;
  try {
    stage = usd.UsdStage.Open('/input.usda');
  } catch (e) {
    throw new Rejected(`aborted while opening (${e})\n${diagnostics.join('\n')}`);
  }
  const errors = diagnostics.filter((d) => /Error/.test(d));
  if (!stage || errors.length) throw new Rejected(errors.join('\n') || 'UsdStage.Open returned no stage');

  const layer = stage.GetRootLayer();
  // Traverse visits children before parents; ordering each prim by the first
  // path seen inside it (parents before children on ties) restores file order.
  const firstSeen = new Map();
  const propertiesOf = new Map();
  let n = 0;
  layer.Traverse('/', (entryPath) => {
    // Prim paths and attribute paths; relationship targets and the like are skipped.
    const [, primPath, property] = String(entryPath).match(/^([^.[\]]+)(?:\.([\w:]+))?$/) ?? [];
    n++;
    if (!primPath) return;
    for (let p = primPath; p && p !== '/'; p = p.slice(0, p.lastIndexOf('/')) || '/') {
      if (!firstSeen.has(p)) firstSeen.set(p, n);
    }
    if (!propertiesOf.has(primPath)) propertiesOf.set(primPath, []);
    if (property) propertiesOf.get(primPath).push(property);
  });
  const primPaths = [...firstSeen.keys()].sort((a, b) =>
    firstSeen.get(a) - firstSeen.get(b) || a.split('/').length - b.split('/').length);

  const text = parseLayerText(layer.ExportToString());
  const apiSchemas = new Map(text.prims.map((p) => [p.path, p.apiSchemas]));
  const prims = primPaths.map((primPath) => {
    const prim = stage.GetPrimAtPath(primPath);
    const attributes = {};
    const types = {};
    for (const name of propertiesOf.get(primPath) ?? []) {
      const attribute = prim.GetAttribute(name);
      const type = attribute.GetTypeName();
      if (type === 'TfType::_Unknown') continue; // a relationship, not an attribute
      try {
        types[name] = type;
        attributes[name] = attribute.Get() ?? null;
      } catch {
        attributes[name] = null; // a value type the bindings cannot hand to JS
      }
    }
    return { path: primPath, type: prim.GetTypeName(), attributes, types, apiSchemas: apiSchemas.get(primPath) ?? [] };
  });
  const late = diagnostics.filter((d) => /Error/.test(d));
  if (late.length) throw new Rejected(late.join('\n'));
  for (const d of diagnostics) process.stderr.write(`${d}\n`);
  return { reader: 'usd', ...stageFields(text.meta), prims };
}

// ---- Reader "tinyusdz" --------------------------------------------------------

async function readWithTinyusdz(file) {
  const dir = packageDir('tinyusdz');
  // This build runs only on a web page: it looks for `window` and refuses to
  // start when it recognises Node, unless Node passes for an Electron renderer.
  globalThis.window = globalThis;
  process.type = 'renderer';
  const { default: init } = await import(path.join(dir, 'tinyusdz.js'));
  const tinyusdz = await init({ wasmBinary: fs.readFileSync(path.join(dir, 'tinyusdz.wasm')) });
  const bytes = new Uint8Array(fs.readFileSync(file));

  const scene = new tinyusdz.TinyUSDZLoaderNative();
  if (!scene.loadFromBinary(bytes, path.basename(file))) throw new Rejected(scene.error());
  const layer = new tinyusdz.TinyUSDZLoaderNative();
  if (!layer.loadAsLayerFromBinary(bytes, path.basename(file))) throw new Rejected(layer.error());

  const worldMatrix = new Map();
  const visit = (node) => {
    if (node.primName) worldMatrix.set(node.absPath, node.globalMatrix);
    for (const child of node.children ?? []) visit(child);
  };
  for (let r = 0; r < scene.numRootNodes(); r++) visit(scene.getRootNode(r));

  const text = parseLayerText(layer.layerToString());
  for (const prim of text.prims) {
    if (worldMatrix.has(prim.path)) prim.worldMatrix = worldMatrix.get(prim.path);
  }
  return { reader: 'tinyusdz', ...stageFields(text.meta), prims: text.prims };
}

// ---- The lights as read --------------------------------------------------------

// The direction +Z points to after xformOp:rotateXYZ (degrees; X first, then Y,
// then Z): where a DistantLight, which shines along -Z, shines from.
function shiningFrom([a, b, c]) {
  const [x, y, z] = [a, b, c].map((degrees) => (degrees * Math.PI) / 180);
  const [dx, dy, dz] = [Math.cos(x) * Math.sin(y), -Math.sin(x), Math.cos(x) * Math.cos(y)];
  return [dx * Math.cos(z) - dy * Math.sin(z), dx * Math.sin(z) + dy * Math.cos(z), dz];
}

// { reader, lights: [ { kind: point|sun, direction (unit, the stage's frame,
// towards the light), distance (point lights), value (inputs:intensity),
// colour, visible } ] }. A sphere light's position is its world matrix's
// translation where the reader gives one, else its translate.
function lightsOf(result) {
  const lights = [];
  for (const prim of result.prims) {
    const a = prim.attributes;
    const read = { value: a['inputs:intensity'], colour: a['inputs:color'], visible: a.visibility !== 'invisible' };
    if (prim.type === 'SphereLight') {
      const p = prim.worldMatrix?.slice(12, 15) ?? a['xformOp:translate'];
      const distance = Math.hypot(...p);
      lights.push({ kind: 'point', direction: p.map((v) => v / distance), distance, ...read });
    } else if (prim.type === 'DistantLight') {
      lights.push({ kind: 'sun', direction: shiningFrom(a['xformOp:rotateXYZ']), ...read });
    }
  }
  return { reader: result.reader, lights };
}

// ---- Command line ---------------------------------------------------------------

const READERS = { usd: readWithUsd, tinyusdz: readWithTinyusdz };

async function main(argv) {
  let reader = 'usd';
  let timeout = 60;
  let lights = false;
  const files = [];
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--reader') reader = argv[++i];
    else if (argv[i] === '--timeout') timeout = Number(argv[++i]);
    else if (argv[i] === '--lights') lights = true;
    else files.push(argv[i]);
  }
  if (!READERS[reader] || files.length !== 1 || !(timeout > 0)) {
    return fail('usage: node read_usd.mjs [--reader usd|tinyusdz] [--timeout SECONDS] [--lights] FILE.usda');
  }
  setTimeout(() => fail(`timeout: ${reader} took more than ${timeout} s`), timeout * 1000).unref();
  try {
    fs.accessSync(files[0], fs.constants.R_OK);
  } catch (e) {
    return fail(`cannot read ${files[0]}: ${e.message}`);
  }
  try {
    const read = await READERS[reader](files[0]);
    const result = lights ? lightsOf(read) : read;
    // One prim or attribute a line; short arrays of plain values stay on one line.
    const json = JSON.stringify(result, null, 1).replace(/\[\s+([^[\]{}]*?)\s+\]/g,
      (_, items) => `[${items.split(/,\s+/).join(', ')}]`);
    process.stdout.write(`${json}\n`, () => process.exit(0));
  } catch (e) {
    fail(e instanceof Rejected ? `${reader} rejected ${files[0]}: ${e.message}` : `${reader} failed: ${e.stack ?? e}`);
  }
}

main(process.argv.slice(2));
