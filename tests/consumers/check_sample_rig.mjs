// Compares what a reader saw in tests/data/consumers/sample_rig.usda (the JSON
// printed by read_usd.mjs, file given as argument) with the values written
// there. Prints each mismatch and exits 1 if there is any.
import fs from 'node:fs';

const seen = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const problems = [];

// Floats are read back through float32, so 0.9 may come back as 0.89999998.
function close(actual, expected) {
  if (Array.isArray(expected)) {
    return Array.isArray(actual) && actual.length === expected.length &&
      expected.every((e, i) => close(actual[i], e));
  }
  if (typeof expected === 'number') {
    return typeof actual === 'number' && Math.abs(actual - expected) <= 1e-6 * Math.max(1, Math.abs(expected));
  }
  return actual === expected;
}

function expect(what, actual, expected) {
  if (!close(actual, expected)) {
    problems.push(`${what}: expected ${JSON.stringify(expected)}, read ${JSON.stringify(actual)}`);
  }
}

// Stage metadata.
expect('defaultPrim', seen.defaultPrim, 'ZR_Halvane');
expect('upAxis', seen.upAxis, 'Y');
expect('metersPerUnit', seen.metersPerUnit, 0.01);
expect('documentation', seen.documentation, 'Halvane light rig: 4 lights from studio_small.hdr');

// The prim hierarchy, in file order.
const ROOT = '/ZR_Halvane';
const L1 = `${ROOT}/ZR_Level_1`;
const L2 = `${ROOT}/ZR_Level_2`;
expect('prims', seen.prims.map((p) => `${p.path} ${p.type}`), [
  `${ROOT} Xform`, `${L1} Xform`, `${L1}/ZR_Light_1_1 SphereLight`, `${L1}/ZR_Light_1_2 SphereLight`,
  `${L2} Xform`, `${L2}/ZR_Light_2_1 SphereLight`, `${L2}/ZR_Sun DistantLight`,
]);

// Attribute values, and the value types each reader names for a few of them.
const TYPES = {
  usd: { float: 'float', int: 'int', double: 'double', color3f: 'GfVec3f', double3: 'GfVec3d', bool: 'bool', token: 'TfToken' },
  tinyusdz: { float: 'float', int: 'int', double: 'double', color3f: 'color3f', double3: 'double3', bool: 'bool', token: 'token' },
}[seen.reader];

const sphere = (level, intensity, color, radius, specular, shadow, point, translate) => ({
  apiSchemas: ['ShadowAPI'],
  attributes: {
    'inputs:intensity': intensity, 'inputs:color': color, 'inputs:radius': radius,
    'inputs:specular': specular, 'inputs:shadow:enable': shadow, treatAsPoint: point,
    'xformOp:translate': translate, xformOpOrder: ['xformOp:translate'],
    'halvane:intensity': intensity, 'halvane:colour': color, 'halvane:level': level,
  },
  types: {
    'inputs:intensity': 'float', 'inputs:color': 'color3f', 'inputs:shadow:enable': 'bool',
    'xformOp:translate': 'double3', 'halvane:level': 'int', 'halvane:colour': 'color3f',
  },
});

const EXPECTED = {
  [ROOT]: {
    apiSchemas: [],
    attributes: { 'halvane:distToOrigin': 100, 'halvane:lightCount': 4, 'halvane:source': 'studio_small.hdr' },
    types: { 'halvane:distToOrigin': 'double', 'halvane:lightCount': 'int' },
  },
  [`${L1}/ZR_Light_1_1`]: sphere(1, 12.5, [1, 0.9, 0.75], 2.5, 1, true, false, [35.5, 80, -42.25]),
  [`${L1}/ZR_Light_1_2`]: sphere(1, 3, [0.5, 0.6, 1], 0, 0, false, true, [-60, 20, 75]),
  [`${L2}/ZR_Light_2_1`]: sphere(2, 0.75, [0.25, 0.25, 0.2], 5, 0.5, true, false, [0, -100, 0]),
  [`${L2}/ZR_Sun`]: {
    apiSchemas: ['ShadowAPI'],
    attributes: {
      'inputs:angle': 0.53, 'inputs:intensity': 50000, 'inputs:color': [1, 0.95, 0.85],
      'inputs:shadow:enable': true, 'halvane:level': 2,
    },
    types: { 'inputs:angle': 'float' },
  },
};
EXPECTED[`${L1}/ZR_Light_1_2`].attributes.visibility = 'invisible';
EXPECTED[`${L1}/ZR_Light_1_2`].types.visibility = 'token';

for (const [path, want] of Object.entries(EXPECTED)) {
  const prim = seen.prims.find((p) => p.path === path);
  if (!prim) { problems.push(`${path}: missing`); continue; }
  expect(`${path} apiSchemas`, prim.apiSchemas, want.apiSchemas);
  for (const [name, value] of Object.entries(want.attributes)) expect(`${path}.${name}`, prim.attributes[name], value);
  for (const [name, type] of Object.entries(want.types)) expect(`${path}.${name} type`, prim.types[name], TYPES[type]);
  // Only the lights carry a transform, so a light's world position is its
  // translate (tinyusdz alone reports world matrices).
  if (seen.reader === 'tinyusdz' && want.attributes['xformOp:translate']) {
    expect(`${path} world position`, prim.worldMatrix?.slice(12, 15), want.attributes['xformOp:translate']);
  }
}

// Nothing authored beyond what the file says: an attribute invented or
// defaulted by a reader would show up here.
const authored = seen.prims.reduce((n, p) => n + Object.keys(p.attributes).length, 0);
expect('authored attribute count', authored, 3 + 3 * 11 + 1 + 7);

for (const p of problems) console.log(`  ${seen.reader}: ${p}`);
process.exit(problems.length ? 1 : 0);
