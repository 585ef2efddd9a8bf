#!/usr/bin/env node
// Checks, as a glTF consumer that is not ftv-host (three.js's GLTFLoader and
// AnimationMixer), that the eye's path in a scene.gltf keeps its turned parts
// facing the eye: at every key of the animation "eye path", each part it
// drives with tag 3 has its +Z toward the animated camera, seen from the
// part's pivot (its first child "#center"), within 0.1 degrees; one with tag
// 2 stands upright (+Y world up) and turns its +Z's horizontal part toward
// the eye's, each within 0.1 degrees. Other tags turn with their parents'
// turns undone only roughly (tag 1): they are counted, not checked.
// Prints one line per file and exits 1 when a file has no such animation or a
// part fails, naming it, the key and the angle.
//   npm ci && node facing.mjs out/scene.gltf
import { readFile } from "node:fs/promises";
import { fileURLToPath } from "node:url";
import * as THREE from "three";
import { GLTFLoader } from "three/addons/loaders/GLTFLoader.js";

export const kToleranceDegrees = 0.1;
const kUpright = 2, kExact = 3;

// The loader reports progress while it reads data: URIs; node has no ProgressEvent.
globalThis.ProgressEvent ??= class ProgressEvent extends Event {
  constructor(type, init = {}) {
    super(type);
    Object.assign(this, { lengthComputable: false, loaded: 0, total: 0 }, init);
  }
};

const degrees = (radians) => (radians * 180) / Math.PI;

function parse(text) {
  return new Promise((resolve, reject) => new GLTFLoader().parse(text, "", resolve, reject));
}

// Angle in degrees between a and b; 0 when either has no length.
function angle(a, b) {
  return a.lengthSq() === 0 || b.lengthSq() === 0 ? 0 : degrees(a.angleTo(b));
}

// The checks of one file's text: { keys, parts (driven), checked (of them),
// worst (degrees), problems }.
export async function facingReport(text) {
  const document = JSON.parse(text);
  const gltf = await parse(text);
  const objects = new Map();  // node index in the file -> three.js object
  gltf.scene.traverse((object) => {
    const association = gltf.parser.associations.get(object);
    if (association?.nodes !== undefined && !objects.has(association.nodes)) objects.set(association.nodes, object);
  });
  const clip = gltf.animations.find((c) => c.name === "eye path");
  if (!clip) return { keys: 0, parts: 0, checked: 0, worst: 0, problems: ["no animation named \"eye path\""] };
  const cameraNode = document.nodes.findIndex((n) => n.camera !== undefined);
  const driven = new Set(document.animations.find((a) => a.name === "eye path").channels.map((c) => c.target.node));
  const parts = [...driven].filter((n) => n !== cameraNode).map((n) => {
    const node = document.nodes[n];
    const marker = node.children?.find((c) => document.nodes[c].name === "#center");
    return { name: node.name, object: objects.get(n), pivot: objects.get(marker), tag: node.extras?.Z_FaceToViewer };
  });
  const problems = parts.filter((p) => !p.pivot).map((p) => `${p.name}: no "#center" child`);
  const mixer = new THREE.AnimationMixer(gltf.scene);
  mixer.clipAction(clip).play();
  const times = clip.tracks[0].times;
  const eye = new THREE.Vector3(), pivot = new THREE.Vector3(), toEye = new THREE.Vector3();
  const x = new THREE.Vector3(), y = new THREE.Vector3(), z = new THREE.Vector3();
  const up = new THREE.Vector3(0, 1, 0);
  const flat = (v) => new THREE.Vector3(v.x, 0, v.z);
  let worst = 0;
  for (const [key, time] of times.entries()) {
    mixer.setTime(time);
    gltf.scene.updateMatrixWorld(true);
    objects.get(cameraNode).getWorldPosition(eye);
    for (const part of parts) {
      if (!part.pivot || (part.tag !== kUpright && part.tag !== kExact)) continue;
      part.pivot.getWorldPosition(pivot);
      toEye.subVectors(eye, pivot);
      part.object.matrixWorld.extractBasis(x, y, z);
      const angles = part.tag === kUpright
        ? { lean: angle(y, up), facing: angle(flat(z), flat(toEye)) }
        : { facing: angle(z, toEye) };
      for (const [what, value] of Object.entries(angles)) {
        worst = Math.max(worst, value);
        if (!(value <= kToleranceDegrees))
          problems.push(`${part.name} (tag ${part.tag}) at key ${key} (${time} s): ${what} off by ${value} degrees`);
      }
    }
  }
  const checked = parts.filter((p) => p.tag === kUpright || p.tag === kExact).length;
  return { keys: times.length, parts: parts.length, checked, worst, problems };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  let failed = false;
  for (const file of process.argv.slice(2)) {
    const { keys, parts, checked, worst, problems } = await facingReport(await readFile(file, "utf8"));
    const verdict = problems.length === 0 && checked > 0 ? "ok" : `${problems.length} problems`;
    console.log(`${file}: ${verdict}: ${checked} of ${parts} turned parts checked at ${keys} keys, ` +
                `worst ${worst.toPrecision(3)} degrees`);
    for (const problem of problems) console.log(`  ${problem}`);
    failed ||= problems.length > 0 || checked === 0;
  }
  process.exit(failed ? 1 : 0);
}
