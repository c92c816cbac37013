// Validates a JSON document against a JSON Schema (draft 2020-12) with an
// independent validator.
//
//   node check_json_schema.mjs SCHEMA.json DOCUMENT.json
//
// Prints every violation and exits 1 if there is any.
import fs from 'node:fs';
import Ajv2020 from 'ajv/dist/2020.js';

const schema = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const document = JSON.parse(fs.readFileSync(process.argv[3], 'utf8'));
const validate = new Ajv2020({ allErrors: true, strict: true }).compile(schema);
if (!validate(document)) {
  for (const e of validate.errors) console.log(`${e.instancePath || '/'}: ${e.message}`);
  process.exit(1);
}
console.log('valid');
