// The orbit page's own script: scene.gltf, embedded in the page, played with
// three.js. Left, the view of the file's animated camera; right, the scene
// from above with the eye's path, each turned part's ray to the eye (orange)
// and the direction it faces (blue). The slider and Play drive the file's
// one animation, whose keys are the run's steps, counted from 1.
//
// Hooks for a browser without a user: "#step=N" shows step N, "#play"
// presses Play; once the first step is drawn the document element carries
// data-ready="yes", data-frame (the step shown) and data-world: the eye's
// world position, then per turned part its tag, its world matrix (16 numbers,
// column by column) and its pivot's world position, all space-separated, as
// three.js computed them for the picture; data-drawn-ms, how long after the
// page began loading its first step was drawn.
import * as THREE from 'three';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';

const kPalette = [0xe4572e, 0x29335c, 0xf3a712, 0x669bbc, 0x8fb339, 0xa8577e];
const kOther = 0x9a9a9a;
const kNotTurned = 0xe8a09a;  // carries the plug-in's tag, but the run did not turn it
const kOverlay = 1;           // the layer only the view from above shows
const kMaxPathPoints = 720;

const root = document.documentElement;
const canvas = document.getElementById('views');
const slider = document.getElementById('slider');
const caption = document.getElementById('caption');
const button = document.getElementById('play');

function fail(error) {
  caption.textContent = 'The scene could not be shown: ' + (error && error.message ? error.message : String(error));
  throw error;
}

const file = document.getElementById('scene-gltf');
new GLTFLoader().parse(file.textContent, '', (gltf) => {
  try {
    show(gltf);
  } catch (error) {
    // Reported as an error of the page's own, outside the loader's promise.
    setTimeout(() => fail(error));
  }
}, (error) => setTimeout(() => fail(error)));

// Every object below root, root first, each before its children, with a
// stack of its own: however deep a file nests, the script's stack is not.
function eachObject(root, visit) {
  const stack = [root];
  while (stack.length > 0) {
    const object = stack.pop();
    visit(object);
    for (let i = object.children.length - 1; i >= 0; --i) stack.push(object.children[i]);
  }
}

// The objects of the file's nodes, by node index.
function nodeObjects(gltf) {
  const objects = new Map();
  eachObject(gltf.scene, (object) => {
    const association = gltf.parser.associations.get(object);
    if (association && association.nodes !== undefined && !objects.has(association.nodes)) {
      objects.set(association.nodes, object);
    }
  });
  return objects;
}

function show(gltf) {
  const json = gltf.parser.json;
  const nodes = json.nodes || [];
  const objects = nodeObjects(gltf);
  const scene = gltf.scene;
  const cameraIndex = nodes.findIndex((node) => node.camera !== undefined);
  const eyeCamera = cameraIndex >= 0 ? objects.get(cameraIndex) : null;
  if (!eyeCamera || !eyeCamera.isCamera) throw new Error('scene.gltf has no camera');

  // The turned parts: the nodes the animation moves, besides the camera.
  const clip = gltf.animations[0];
  const animation = (json.animations || [])[0];
  const turnedIndices = new Set();
  for (const channel of animation ? animation.channels : []) {
    if (channel.target.node !== cameraIndex) turnedIndices.add(channel.target.node);
  }
  const turned = [...turnedIndices].sort((a, b) => a - b).map((index, n) => {
    const node = nodes[index];
    const marker = (node.children || []).find((child) => nodes[child].name === file.dataset.markerName);
    const extras = node.extras || {};
    return {
      object: objects.get(index),
      pivot: objects.get(marker),
      tag: Number(extras[file.dataset.tagKey] || 0),
      colour: kPalette[n % kPalette.length],
      name: node.name || 'part ' + index,
    };
  });
  paint(gltf, objects, turned);

  // Times of the steps, step 1 first: the keys of the camera's track.
  const mixer = new THREE.AnimationMixer(scene);
  let times = [0];
  let action = null;
  if (clip) {
    action = mixer.clipAction(clip);
    action.setLoop(THREE.LoopOnce, 1);
    action.clampWhenFinished = true;
    action.play();
    const track = clip.tracks.find((t) => t.name.startsWith(eyeCamera.name + '.')) || clip.tracks[0];
    times = Array.from(track.times);
  }
  const steps = times.length;
  const pose = (step) => {
    // An action played to its end stays paused there: wake it for every pose.
    if (action) action.paused = false;
    mixer.setTime(times[step - 1]);
    scene.updateMatrixWorld(true);
  };

  // The eye's path, from the animation itself.
  const path = [];
  const every = Math.max(1, Math.ceil(times.length / kMaxPathPoints));
  for (let step = 1; step <= steps; step += every) {
    pose(step);
    path.push(eyeCamera.getWorldPosition(new THREE.Vector3()));
  }
  pose(steps);
  path.push(eyeCamera.getWorldPosition(new THREE.Vector3()));

  const light = new THREE.DirectionalLight(0xffffff, 2.2);
  scene.add(new THREE.HemisphereLight(0xffffff, 0x666666, 1.6), light, light.target);

  const width = canvas.width / 2;
  const height = canvas.height;
  const bounds = new THREE.Box3().setFromObject(scene).union(new THREE.Box3().setFromPoints(path));
  const top = topCamera(bounds, width / height);
  // The eye stays inside the bounds: nothing it sees lies further than their diameter (a far plane
  // no further than that keeps the depth buffer's precision for the model).
  const reach = Math.max(2.02 * bounds.getBoundingSphere(new THREE.Sphere()).radius, eyeCamera.near * 2);
  const view = overlays(scene, bounds, path, turned);
  const renderer = new THREE.WebGLRenderer({ canvas, antialias: true, preserveDrawingBuffer: true });
  renderer.setPixelRatio(1);
  renderer.setScissorTest(true);
  function draw() {
    light.position.copy(eyeCamera.getWorldPosition(new THREE.Vector3()));
    light.target.position.copy(view.target);
    eyeCamera.aspect = width / height;
    eyeCamera.far = reach;
    eyeCamera.updateProjectionMatrix();
    eyeCamera.layers.set(0);
    renderer.setViewport(0, 0, width, height);
    renderer.setScissor(0, 0, width, height);
    renderer.setClearColor(0xf4f1ea);
    renderer.render(scene, eyeCamera);
    renderer.setViewport(width, 0, width, height);
    renderer.setScissor(width, 0, width, height);
    renderer.setClearColor(0xfbfbf8);
    renderer.render(scene, top);
  }

  let shown = 1;
  function showStep(step) {
    shown = step;
    pose(step);
    view.update(eyeCamera.getWorldPosition(new THREE.Vector3()));
    draw();
    slider.value = String(step);
    caption.textContent = 'step ' + step + ' of ' + steps;
    root.setAttribute('data-frame', String(step));
    root.setAttribute('data-world', world(eyeCamera, turned));
  }

  // Play shows the steps one after another, each for the time between two
  // keys, from the step shown. A timer, unlike an animation frame, keeps to
  // that time in a browser that draws no screen as well.
  let playing = null;
  function pause() {
    clearInterval(playing);
    playing = null;
    button.textContent = 'Play';
  }
  function play() {
    if (shown >= steps) showStep(1);
    button.textContent = 'Pause';
    const between = steps > 1 ? times[1] - times[0] : 1;
    playing = setInterval(() => {
      showStep(shown + 1);
      if (shown >= steps) pause();
    }, 1000 * between);
  }

  slider.min = '1';
  slider.max = String(steps);
  slider.addEventListener('input', () => { pause(); showStep(Number(slider.value)); });
  button.addEventListener('click', () => { if (playing === null) play(); else pause(); });
  showStep(1);
  const asked = /^#step=(\d+)$/.exec(location.hash);
  if (asked) {
    slider.value = asked[1];
    slider.dispatchEvent(new Event('input'));
  } else if (location.hash === '#play') {
    button.click();
  }
  root.setAttribute('data-drawn-ms', String(Math.round(performance.now())));
  root.setAttribute('data-ready', 'yes');
}

// Shaded faces, lit from the eye: the turned parts in colours of their own,
// the parts with a tag the run did not turn in pale red, the rest grey.
function paint(gltf, objects, turned) {
  const colours = new Map(turned.map((part) => [part.object, part.colour]));
  const tagged = new Set();
  (gltf.parser.json.nodes || []).forEach((node, index) => {
    if (node.extras && node.extras[file.dataset.tagKey] !== undefined) tagged.add(objects.get(index));
  });
  const materials = new Map();
  const material = (colour) => {
    if (!materials.has(colour)) {
      materials.set(colour, new THREE.MeshLambertMaterial({ color: colour, side: THREE.DoubleSide, flatShading: true }));
    }
    return materials.get(colour);
  };
  eachObject(gltf.scene, (object) => {
    if (!object.isMesh) return;
    let colour = kOther;
    for (let up = object; up; up = up.parent) {
      if (colours.has(up)) { colour = colours.get(up); break; }
      if (tagged.has(up)) { colour = kNotTurned; break; }
    }
    object.material = material(colour);
  });
}

// What only the view from above shows: the eye's path, the eye, and per
// turned part its ray to the eye and an arrow along its facing.
function overlays(scene, box, path, turned) {
  const size = box.getSize(new THREE.Vector3());
  const arrow = Math.max(size.x, size.z, 1e-6) * 0.08;
  const onTop = (object) => {
    eachObject(object, (child) => {
      child.layers.set(kOverlay);
      child.renderOrder = 1;
      if (child.material) child.material.depthTest = false;
    });
    scene.add(object);
    return object;
  };
  onTop(new THREE.Line(new THREE.BufferGeometry().setFromPoints(path), new THREE.LineBasicMaterial({ color: 0x888888 })));
  const eye = onTop(new THREE.Mesh(new THREE.SphereGeometry(arrow * 0.15, 12, 8), new THREE.MeshBasicMaterial({ color: 0xc01c28 })));
  const rays = turned.map(() => onTop(new THREE.Line(
    new THREE.BufferGeometry().setFromPoints([new THREE.Vector3(), new THREE.Vector3()]),
    new THREE.LineBasicMaterial({ color: 0xf08c00 }))));
  const arrows = turned.map(() => onTop(new THREE.ArrowHelper(new THREE.Vector3(0, 0, 1), new THREE.Vector3(), arrow, 0x1a5fb4)));
  const target = box.getCenter(new THREE.Vector3());
  return {
    target,
    update(eyeAt) {
      eye.position.copy(eyeAt);
      turned.forEach((part, i) => {
        const pivot = (part.pivot || part.object).getWorldPosition(new THREE.Vector3());
        rays[i].geometry.setFromPoints([eyeAt, pivot]);
        const facing = new THREE.Vector3(0, 0, 1).transformDirection(part.object.matrixWorld);
        arrows[i].position.copy(pivot);
        arrows[i].setDirection(facing);
      });
      scene.updateMatrixWorld(true);
    },
  };
}

// Straight down on everything drawn, x to the right and z downward.
function topCamera(box, aspect) {
  const center = box.getCenter(new THREE.Vector3());
  const size = box.getSize(new THREE.Vector3());
  const half = Math.max(size.x / aspect, size.z, 1e-6) * 0.55;
  const camera = new THREE.OrthographicCamera(-half * aspect, half * aspect, half, -half, 0, size.y + half * 2);
  camera.up.set(0, 0, -1);
  camera.position.set(center.x, box.max.y + half, center.z);
  camera.lookAt(center);
  camera.layers.enableAll();
  camera.updateMatrixWorld(true);
  return camera;
}

function world(eyeCamera, turned) {
  const numbers = eyeCamera.getWorldPosition(new THREE.Vector3()).toArray();
  for (const part of turned) {
    numbers.push(part.tag, ...part.object.matrixWorld.elements);
    numbers.push(...(part.pivot || part.object).getWorldPosition(new THREE.Vector3()).toArray());
  }
  return numbers.join(' ');
}
