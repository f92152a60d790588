// The benchmark's plain-WebGL replay (bench/web/cost.js) of the frames the
// page drew, as bench/web/record.js recorded them (recording.json and
// recording.bin beside it). Everything is prepared before the first frame:
// the textures uploaded, each frame's consecutive draws of the same state
// joined into one vertex array. A frame is then a clear and, per change of
// state, one upload and one draw, stepped as the page steps ?frames=N (a
// message turn between frames). The canvas shows each frame's number and the
// body data-state="ended" at the end, as the page's do.
'use strict';
(async () => {
  const canvas = document.getElementById('canvas');
  const gl = canvas.getContext('webgl', { antialias: false, alpha: false });
  const meta = await (await fetch('recording.json')).json();
  const bytes = await (await fetch('recording.bin')).arrayBuffer();

  // The shaders' text is the page's (src/web/device.js), kept as a copy on
  // purpose: the replay is the yardstick the page is measured against, so it
  // takes nothing of the page's code, and a change to the page's shaders
  // shows in the figures rather than moving the yardstick with it.
  function shader(type, text) {
    const made = gl.createShader(type);
    gl.shaderSource(made, text);
    gl.compileShader(made);
    return made;
  }
  const program = gl.createProgram();
  gl.attachShader(program, shader(gl.VERTEX_SHADER,
    'attribute vec4 position; attribute vec2 coordinate; attribute vec4 colour;' +
    'varying vec2 v_coordinate; varying vec4 v_colour;' +
    'void main() { gl_Position = position; v_coordinate = coordinate; v_colour = colour; }'));
  gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
    'precision mediump float; uniform sampler2D texture; varying vec2 v_coordinate; varying vec4 v_colour;' +
    'void main() { gl_FragColor = v_colour * texture2D(texture, v_coordinate); }'));
  ['position', 'coordinate', 'colour'].forEach((name, index) => gl.bindAttribLocation(program, index, name));
  gl.linkProgram(program);
  gl.useProgram(program);
  gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
  [[4, 0], [2, 16], [4, 24]].forEach(([size, at], index) => {
    gl.enableVertexAttribArray(index);
    gl.vertexAttribPointer(index, size, gl.FLOAT, false, 40, at);
  });

  const textures = [];
  for (const step of meta.textures) {
    gl.bindTexture(gl.TEXTURE_2D, textures[step.id] || (textures[step.id] = gl.createTexture()));
    if (step.name !== undefined)
      gl.texParameteri(gl.TEXTURE_2D, step.name, step.value);
    else
      gl.texImage2D(gl.TEXTURE_2D, 0, step.format, step.width, step.height, 0, step.format, step.type,
                    new Uint8Array(bytes, step.at, step.width * step.height * 4));
  }

  // Frames in order, each a list of batches: a state and one vertex array.
  const frames = new Map();
  for (const draw of meta.draws) {
    if (!frames.has(draw.frame)) frames.set(draw.frame, []);
    const batches = frames.get(draw.frame);
    const last = batches[batches.length - 1];
    const vertices = new Float32Array(bytes, draw.at, draw.count * 10);
    const same = last && ['mode', 'texture', 'blend', 'src', 'dst'].every((key) => last[key] === draw[key]);
    if (same) last.parts.push(vertices);
    else batches.push({ ...draw, parts: [vertices] });
  }
  for (const batches of frames.values())
    for (const batch of batches) {
      batch.vertices = new Float32Array(batch.parts.reduce((sum, part) => sum + part.length, 0));
      batch.parts.reduce((at, part) => (batch.vertices.set(part, at), at + part.length), 0);
      batch.count = batch.vertices.length / 10;
    }
  window.drawsPerFrame = [...frames.values()].reduce((sum, batches) => sum + batches.length, 0) / frames.size;

  // ?to=N replays the recorded frames up to N, none for one before the first.
  const to = Number(new URLSearchParams(location.search).get('to'));
  const order = [...frames.keys()].filter((n) => n <= to).sort((a, b) => a - b);
  const channel = new MessageChannel();
  let next = 0, texture = null, blend = null, src = null, dst = null;
  function frame() {
    if (next === order.length) {
      document.body.dataset.state = 'ended';
      return;
    }
    gl.clearColor(0, 0, 0, 1);
    gl.clear(gl.COLOR_BUFFER_BIT);
    for (const batch of frames.get(order[next])) {
      if (textures[batch.texture] !== texture) gl.bindTexture(gl.TEXTURE_2D, (texture = textures[batch.texture]));
      if (batch.blend !== blend) ((blend = batch.blend) ? gl.enable(gl.BLEND) : gl.disable(gl.BLEND));
      if (blend && (batch.src !== src || batch.dst !== dst)) gl.blendFunc((src = batch.src), (dst = batch.dst));
      gl.bufferData(gl.ARRAY_BUFFER, batch.vertices, gl.STREAM_DRAW);
      gl.drawArrays(batch.mode, 0, batch.count);
    }
    canvas.dataset.frame = order[next++];
    channel.port2.postMessage(0);
  }
  channel.port1.onmessage = frame;
  document.body.dataset.state = 'running';
  frame();
})();
