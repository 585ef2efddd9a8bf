// The peer beside the update pass: three.js turning objects toward the eye
// with Object3D.lookAt, on the kind of scene update_pass_bench calls
// "rotated": objects ten to a group, every group turned about all three axes
// by random angles and moved, each object at a random place in its group.
//
//   node look_at.mjs SIZE [SECONDS]
//
// Builds the scene, turns every object once (warm-up), then times whole
// passes over all objects for about SECONDS of CPU time (at least three
// passes) and prints one JSON line: the median time per object of the passes,
// in the process's CPU time (as the C++ pairs use the thread's CPU time).
import * as THREE from 'three';

const size = Number(process.argv[2] ?? 1000);
const seconds = Number(process.argv[3] ?? 2);

// The same linear congruential generator as the C++ benchmark's scenes.
let state = 7n;
const mask = (1n << 64n) - 1n;
function uniform(lo, hi) {
  state = (state * 6364136223846793005n + 1442695040888963407n) & mask;
  return lo + (hi - lo) * Number(state >> 11n) * 2 ** -53;
}

const scene = new THREE.Scene();
const objects = [];
for (let g = 0; g < size / 10; ++g) {
  const group = new THREE.Group();
  group.rotation.set(uniform(-3, 3), uniform(-3, 3), uniform(-3, 3), 'XYZ');
  group.position.set(uniform(-100, 100), uniform(-10, 10), uniform(-100, 100));
  scene.add(group);
  for (let k = 0; k < 10; ++k) {
    const object = new THREE.Object3D();
    object.position.set(uniform(-50, 50), uniform(0, 20), uniform(-50, 50));
    group.add(object);
    objects.push(object);
  }
}
const eye = new THREE.Vector3(13, 270, 900);

function pass() {
  for (let i = 0; i < objects.length; ++i) objects[i].lookAt(eye);
}

function cpuNs() {
  const u = process.cpuUsage();
  return (u.user + u.system) * 1000;
}

pass();
const perPass = [];
let spent = 0;
// Small scenes are timed in batches of passes so that each timing is long
// against the clock's resolution.
const batch = Math.max(1, Math.floor(1e6 / size));
while (perPass.length < 3 || spent < seconds * 1e9) {
  const t0 = cpuNs();
  for (let b = 0; b < batch; ++b) pass();
  const t = cpuNs() - t0;
  spent += t;
  perPass.push(t / batch);
}
perPass.sort((a, b) => a - b);
const median = perPass[Math.floor(perPass.length / 2)];
console.log(JSON.stringify({ size: objects.length, passes: perPass.length * batch, ns_per_object: median / objects.length }));
