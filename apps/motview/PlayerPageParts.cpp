#include "apps/motview/PlayerPageParts.h"

const char* const thePlayerPageStyle = R"CSS(
:root { color-scheme: light; }
body { margin: 0; font: 14px/1.45 "DejaVu Sans", Helvetica, Arial, sans-serif; color: #222; background: #eef1f4; }
header { padding: 14px 24px 10px; background: #fff; border-bottom: 1px solid #d5dbe1; }
h1 { margin: 0; font-size: 19px; }
header p { margin: 2px 0 0; color: #555; }
main { display: flex; gap: 18px; padding: 18px 24px; align-items: flex-start; }
.player { flex: 1; min-width: 0; }
#stage { display: block; width: 100%; height: 68vh; min-height: 320px; background: #fff; border: 1px solid #d5dbe1; border-radius: 6px; cursor: grab; touch-action: none; }
#stage.turning { cursor: grabbing; }
#ground { fill: #e7eaee; stroke: #8a8f98; }
#bones line { stroke: #2f5d8a; stroke-linecap: round; }
#joints circle { fill: #c0392b; }
#joints circle.hot { fill: #f39c12; }
.controls { display: flex; flex-wrap: wrap; gap: 8px; align-items: center; margin-top: 10px; }
.controls input[type=range] { flex: 1; min-width: 200px; }
button { font: inherit; padding: 4px 12px; border: 1px solid #9aa5b1; border-radius: 4px; background: #fff; cursor: pointer; }
button[aria-pressed=true] { background: #2f5d8a; border-color: #2f5d8a; color: #fff; }
#play { min-width: 74px; }
#frame { font-variant-numeric: tabular-nums; min-width: 190px; }
#joint { min-height: 1.45em; margin-top: 6px; color: #555; }
aside { width: 300px; background: #fff; border: 1px solid #d5dbe1; border-radius: 6px; padding: 4px 16px 12px; }
aside h2 { font-size: 15px; margin: 12px 0 6px; }
dl { margin: 0; display: grid; grid-template-columns: auto 1fr; gap: 3px 10px; }
dt { color: #555; }
dd { margin: 0; overflow-wrap: anywhere; }
aside p { margin: 4px 0; color: #444; }
kbd { border: 1px solid #bbb; border-radius: 3px; padding: 0 4px; background: #f7f7f7; }
)CSS";

const char* const thePlayerPageScript = R"JS(
(function () {
  'use strict';
  var take = JSON.parse(document.getElementById('take').textContent);
  var NS = 'http://www.w3.org/2000/svg';
  var J = take.joints.length, M = take.frames, P = take.p;
  var stage = document.getElementById('stage');
  var groundShape = document.getElementById('ground');
  var slider = document.getElementById('slider');
  var frameText = document.getElementById('frame');
  var jointText = document.getElementById('joint');
  var playButton = document.getElementById('play');
  // The named views as cosines and sines of their turn about y (yaw) and
  // their tilt towards the top (pitch); the free view computes its own.
  var named = {
    front: { c: 1, s: 0, cp: 1, sp: 0 },
    side: { c: 0, s: 1, cp: 1, sp: 0 },
    top: { c: 1, s: 0, cp: 0, sp: 1 }
  };
  var angles = { front: [0, 0], side: [Math.PI / 2, 0], top: [0, Math.PI / 2] };
  var state = { view: 'front', yaw: 0, pitch: 0, index: 0, playing: false, hot: -1 };
  var circles = [], bones = [], boxes = {};

  for (var j = 0; j < J; ++j) {
    if (take.parents[j] >= 0) {
      var line = document.createElementNS(NS, 'line');
      document.getElementById('bones').appendChild(line);
      bones.push([take.parents[j], j, line]);
    }
  }
  for (j = 0; j < J; ++j) {
    var circle = document.createElementNS(NS, 'circle');
    circle.setAttribute('data-joint', take.joints[j]);
    document.getElementById('joints').appendChild(circle);
    circles.push(circle);
  }

  function camera() {
    if (state.view !== 'free') return named[state.view];
    return { c: Math.cos(state.yaw), s: Math.sin(state.yaw), cp: Math.cos(state.pitch), sp: Math.sin(state.pitch) };
  }
  // A point in hundredths of an inch to the screen, in inches with two
  // decimals: front (x, -y), side (-z, -y), top (x, z).
  function project(cam, x, y, z, out) {
    var depth = x * cam.s + z * cam.c;
    out[0] = Math.round(x * cam.c - z * cam.s) / 100;
    out[1] = Math.round(depth * cam.sp - y * cam.cp) / 100;
  }
  var b = take.box, g = take.ground, pad = 0.1 * Math.max(b[3] - b[0], b[5] - b[2], 100);
  var floor = [[b[0] - pad, g, b[2] - pad], [b[3] + pad, g, b[2] - pad], [b[3] + pad, g, b[5] + pad], [b[0] - pad, g, b[5] + pad]];

  // Each view shows the whole take at one scale: the named ones its
  // bounds, the free one a sphere around it, so that turning keeps the size.
  function viewBox() {
    var key = state.view;
    if (boxes[key]) return boxes[key];
    var lo = [Infinity, Infinity], hi = [-Infinity, -Infinity], q = [0, 0];
    function add(x, y, z) {
      project(camera(), x, y, z, q);
      lo[0] = Math.min(lo[0], q[0]); lo[1] = Math.min(lo[1], q[1]);
      hi[0] = Math.max(hi[0], q[0]); hi[1] = Math.max(hi[1], q[1]);
    }
    if (key === 'free') {
      var r = Math.hypot(b[3] - b[0], b[4] - b[1], b[5] - b[2]) / 200 + pad / 100;
      var c = [(b[0] + b[3]) / 2, (b[1] + b[4]) / 2, (b[2] + b[5]) / 2];
      lo = [-r, -r]; hi = [r, r];
      boxes[key] = { c: c, lo: lo, hi: hi };
      return boxes[key];
    }
    for (var i = 0; i < P.length; i += 3) add(P[i], P[i + 1], P[i + 2]);
    floor.forEach(function (p) { add(p[0], p[1], p[2]); });
    boxes[key] = { lo: lo, hi: hi };
    return boxes[key];
  }

  function setViewBox() {
    var box = viewBox(), lo = box.lo.slice(), hi = box.hi.slice();
    if (box.c) {
      var q = [0, 0];
      project(camera(), box.c[0], box.c[1], box.c[2], q);
      lo = [q[0] + lo[0], q[1] + lo[1]]; hi = [q[0] + hi[0], q[1] + hi[1]];
    }
    var w = hi[0] - lo[0], h = hi[1] - lo[1], m = 0.06 * Math.max(w, h, 1);
    stage.setAttribute('viewBox', [lo[0] - m, lo[1] - m, w + 2 * m, h + 2 * m].join(' '));
    var size = Math.max(w, h, 1) + 2 * m;
    var radius = size / 150;
    circles.forEach(function (c) { c.setAttribute('r', radius.toFixed(3)); });
    document.getElementById('bones').setAttribute('stroke-width', (radius * 0.7).toFixed(3));
    groundShape.setAttribute('stroke-width', (radius * 0.3).toFixed(3));
  }

  var q = [0, 0];
  function draw() {
    var cam = camera(), base = state.index * J * 3;
    var points = [];
    for (var j = 0; j < J; ++j) {
      project(cam, P[base + 3 * j], P[base + 3 * j + 1], P[base + 3 * j + 2], q);
      points.push([q[0], q[1]]);
      circles[j].setAttribute('cx', q[0]);
      circles[j].setAttribute('cy', q[1]);
    }
    bones.forEach(function (bone) {
      var a = points[bone[0]], e = points[bone[1]];
      bone[2].setAttribute('x1', a[0]); bone[2].setAttribute('y1', a[1]);
      bone[2].setAttribute('x2', e[0]); bone[2].setAttribute('y2', e[1]);
    });
    groundShape.setAttribute('points', floor.map(function (p) {
      project(cam, p[0], p[1], p[2], q);
      return q[0] + ',' + q[1];
    }).join(' '));
    var frame = take.first + state.index * take.step;
    stage.setAttribute('data-frame', frame);
    stage.setAttribute('data-view', state.view);
    slider.value = state.index;
    frameText.textContent = 'frame ' + frame + ' of ' + take.first + '\u2013' + take.last +
      ' \u00b7 ' + (frame / take.fps).toFixed(3) + ' s';
    state.points = points;
  }

  function setView(view) {
    if (view !== 'free' && angles[view]) { state.yaw = angles[view][0]; state.pitch = angles[view][1]; }
    state.view = view;
    document.querySelectorAll('[data-show]').forEach(function (button) {
      button.setAttribute('aria-pressed', button.getAttribute('data-show') === view ? 'true' : 'false');
    });
    setViewBox();
    draw();
  }

  // #frame=N shows scene frame N, or the nearest embedded frame before it.
  function showAddress() {
    var found = /frame=(-?\d+)/.exec(location.hash);
    if (!found) return;
    var k = Math.floor((parseInt(found[1], 10) - take.first) / take.step);
    state.index = Math.max(0, Math.min(M - 1, k));
    draw();
  }

  var startTime = 0, startIndex = 0;
  function tick(now) {
    if (!state.playing) return;
    var k = startIndex + Math.floor((now - startTime) / 1000 * take.fps / take.step);
    state.index = k % M;
    draw();
    requestAnimationFrame(tick);
  }
  function setPlaying(on) {
    state.playing = on && M > 1;
    playButton.textContent = state.playing ? 'Pause' : 'Play';
    playButton.setAttribute('aria-pressed', state.playing ? 'true' : 'false');
    if (state.playing) {
      startIndex = state.index;
      startTime = performance.now();
      requestAnimationFrame(tick);
    }
  }
  function stepBy(n) {
    setPlaying(false);
    state.index = Math.max(0, Math.min(M - 1, state.index + n));
    draw();
  }

  // The joint nearest the pointer, within a few joint radii.
  function jointAt(event) {
    var matrix = stage.getScreenCTM();
    if (!matrix || !state.points) return -1;
    var pt = stage.createSVGPoint();
    pt.x = event.clientX; pt.y = event.clientY;
    pt = pt.matrixTransform(matrix.inverse());
    var best = -1, reach = parseFloat(circles.length ? circles[0].getAttribute('r') : 0) * 3;
    state.points.forEach(function (p, j) {
      var d = Math.hypot(p[0] - pt.x, p[1] - pt.y);
      if (d <= reach) { reach = d; best = j; }
    });
    return best;
  }
  function showJoint(j) {
    if (state.hot >= 0) circles[state.hot].classList.remove('hot');
    state.hot = j;
    if (j >= 0) circles[j].classList.add('hot');
    jointText.textContent = j >= 0 ? 'Joint: ' + take.joints[j] : '\u00a0';
  }

  var drag = null;
  stage.addEventListener('pointerdown', function (event) {
    drag = { x: event.clientX, y: event.clientY };
    stage.setPointerCapture(event.pointerId);
    stage.classList.add('turning');
  });
  stage.addEventListener('pointermove', function (event) {
    if (!drag) { showJoint(jointAt(event)); return; }
    var dx = event.clientX - drag.x, dy = event.clientY - drag.y;
    if (!dx && !dy) return;
    drag.x = event.clientX; drag.y = event.clientY;
    if (state.view !== 'free') setView('free');
    state.yaw -= dx * 0.01;
    state.pitch = Math.max(-Math.PI / 2, Math.min(Math.PI / 2, state.pitch + dy * 0.01));
    setViewBox();
    draw();
  });
  function endDrag() { drag = null; stage.classList.remove('turning'); }
  stage.addEventListener('pointerup', endDrag);
  stage.addEventListener('pointercancel', endDrag);
  stage.addEventListener('pointerleave', function () { if (!drag) showJoint(-1); });

  slider.max = M - 1;
  slider.addEventListener('input', function () {
    state.index = parseInt(slider.value, 10);
    if (state.playing) setPlaying(true);
    draw();
  });
  playButton.addEventListener('click', function () { setPlaying(!state.playing); });
  document.querySelectorAll('[data-show]').forEach(function (button) {
    button.addEventListener('click', function () { setView(button.getAttribute('data-show')); });
  });
  document.addEventListener('keydown', function (event) {
    if (event.key === 'ArrowRight') stepBy(1);
    else if (event.key === 'ArrowLeft') stepBy(-1);
    else if (event.key === ' ' && event.target === document.body) setPlaying(!state.playing);
    else return;
    event.preventDefault();
  });
  window.addEventListener('hashchange', showAddress);

  setView('front');
  showAddress();
})();
)JS";
