// Compares what a USD reader saw in a Halvane .usda (the JSON read_usd.mjs
// prints) with what the rig layer expects (JSON written by the consumer
// tests): stage metadata, every prim's path, type and API schemas in file
// order, every attribute's value and type, nothing authored beyond them, and
// the irradiance at the origin recomputed from the lights' attributes.
//
//   node check_rig_usda.mjs SEEN.json EXPECTED.json
//
// Prints each mismatch and exits 1 if there is any.
import fs from 'node:fs';

const seen = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const expected = JSON.parse(fs.readFileSync(process.argv[3], 'utf8'));
const problems = [];

// The readers' names for the value types the rig writes.
const TYPE_NAMES = {
  usd: {
    bool: 'bool', int: 'int', float: 'float', double: 'double', string: 'string', token: 'TfToken',
    color3f: 'GfVec3f', float3: 'GfVec3f', double3: 'GfVec3d', 'token[]': 'VtArray<TfToken>',
  },
  tinyusdz: {
    bool: 'bool', int: 'int', float: 'float', double: 'double', string: 'string', token: 'token',
    color3f: 'color3f', float3: 'float3', double3: 'double3', 'token[]': 'token[]',
  },
}[seen.reader];

// float values come back through float32 (and tinyusdz prints them with nine
// digits), doubles exactly.
function close(actual, wanted, type) {
  if (Array.isArray(wanted)) {
    return Array.isArray(actual) && actual.length === wanted.length &&
      wanted.every((w, i) => close(actual[i], w, type));
  }
  if (typeof wanted === 'number') {
    const relative = type === 'double' || type === 'double3' ? 1e-15 : 1e-6;
    return typeof actual === 'number' && Math.abs(actual - wanted) <= relative * Math.abs(wanted) + 1e-30;
  }
  return actual === wanted;
}

function expect(what, actual, wanted, type) {
  if (!close(actual, wanted, type)) {
    problems.push(`${what}: expected ${JSON.stringify(wanted)}, read ${JSON.stringify(actual)}`);
  }
}

for (const key of ['defaultPrim', 'upAxis', 'metersPerUnit']) expect(key, seen[key], expected[key]);
expect('documentation starts', (seen.documentation ?? '').slice(0, expected.documentationStart.length),
  expected.documentationStart);
expect('prims', seen.prims.map((p) => `${p.path} ${p.type}`), expected.prims.map((p) => `${p.path} ${p.type}`));

for (const want of expected.prims) {
  const prim = seen.prims.find((p) => p.path === want.path);
  if (!prim) continue;
  expect(`${want.path} apiSchemas`, prim.apiSchemas, want.apiSchemas);
  expect(`${want.path} attribute names`, Object.keys(prim.attributes).sort(), Object.keys(want.attributes).sort());
  for (const [name, [type, value]] of Object.entries(want.attributes)) {
    expect(`${want.path}.${name} type`, prim.types[name], TYPE_NAMES[type]);
    expect(`${want.path}.${name}`, prim.attributes[name], value, type);
  }
  // tinyusdz alone computes world matrices: a light's position is its translate.
  if (seen.reader === 'tinyusdz' && want.type === 'SphereLight') {
    expect(`${want.path} world position`, prim.worldMatrix?.slice(12, 15), want.attributes['xformOp:translate'][1], 'double3');
  }
}

// UsdLux: a SphereLight with inputs:normalize on spreads inputs:intensity over
// its area 4 pi r^2, so its radiant intensity is inputs:intensity / 4, and it
// lights a point at distance d with intensity * colour / (4 d^2).
const irradiance = [0, 0, 0];
for (const prim of seen.prims.filter((p) => p.type === 'SphereLight')) {
  const a = prim.attributes;
  if (a.visibility === 'invisible') continue;
  if (a['inputs:normalize'] !== true) problems.push(`${prim.path}: not normalized`);
  const [x, y, z] = a['xformOp:translate'];
  const falloff = a['inputs:intensity'] / (4 * (x * x + y * y + z * z));
  a['inputs:color'].forEach((c, k) => { irradiance[k] += falloff * c; });
}
// A normalized DistantLight gives the irradiance intensity * colour whatever
// its angle.
for (const prim of seen.prims.filter((p) => p.type === 'DistantLight')) {
  const a = prim.attributes;
  if (a.visibility === 'invisible') continue;
  if (a['inputs:normalize'] !== true) problems.push(`${prim.path}: not normalized`);
  a['inputs:color'].forEach((c, k) => { irradiance[k] += a['inputs:intensity'] * c; });
}
irradiance.forEach((e, k) => {
  const want = expected.irradiance[k];
  if (!(Math.abs(e - want) <= 1e-4 * Math.abs(want) + 1e-12)) {
    problems.push(`irradiance ${k}: expected ${want}, the lights give ${e}`);
  }
});

for (const p of problems.slice(0, 30)) console.log(`  ${seen.reader}: ${p}`);
if (problems.length > 30) console.log(`  ${seen.reader}: ... ${problems.length - 30} more`);
process.exit(problems.length ? 1 : 0);
