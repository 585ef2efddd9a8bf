#!/usr/bin/env node
// Checks what ftv-host writes, file by file: a .gltf or .glb with the Khronos
// glTF validator, anything else as a scene file against docs/scene.schema.json.
// Prints one line per file ("FILE: ok", or its errors, one a line after it)
// and exits 1 when any file has an error. Warnings and hints of the glTF
// validator are counted on the file's line, not failed.
//   npm ci && node check.mjs out/scene.gltf out/scene.json
import { readFile } from "node:fs/promises";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import Ajv from "ajv";
import validator from "gltf-validator";

const here = dirname(fileURLToPath(import.meta.url));
const schema = JSON.parse(await readFile(join(here, "../../docs/scene.schema.json"), "utf8"));
const validateScene = new Ajv({ allErrors: true }).compile(schema);

async function gltfProblems(file) {
  const report = await validator.validateBytes(new Uint8Array(await readFile(file)), {
    uri: file,
    maxIssues: 0,
    externalResourceFunction: (uri) => readFile(join(dirname(file), decodeURIComponent(uri))),
  });
  const { numErrors, numWarnings, numInfos, numHints, messages } = report.issues;
  return {
    errors: messages.filter((m) => m.severity === 0).map((m) => `${m.code} at ${m.pointer ?? ""}: ${m.message}`),
    note: numErrors === 0 ? ` (${numWarnings} warnings, ${numInfos} infos, ${numHints} hints)` : "",
  };
}

async function sceneProblems(file) {
  let document;
  try {
    document = JSON.parse(await readFile(file, "utf8"));
  } catch (error) {
    return { errors: [`not JSON: ${error.message}`], note: "" };
  }
  if (validateScene(document)) return { errors: [], note: "" };
  return { errors: validateScene.errors.map((e) => `${e.instancePath || "/"}: ${e.message}`), note: "" };
}

let failed = false;
for (const file of process.argv.slice(2)) {
  const { errors, note } = /\.gl(tf|b)$/i.test(file) ? await gltfProblems(file) : await sceneProblems(file);
  console.log(`${file}: ${errors.length === 0 ? "ok" : `${errors.length} errors`}${note}`);
  for (const error of errors) console.log(`  ${error}`);
  failed ||= errors.length > 0;
}
process.exit(failed ? 1 : 0);
