// Injected into the page before it loads (bench/web/cost.js): records the
// WebGL calls the page makes, as it makes them. Every texture upload and
// parameter, and from frame `window.recordFrom` on each draw with its state
// and its vertices (ten floats each, as src/web/device.h lays them out).
// A frame's draws come before the page shows its number on the canvas.
(() => {
  const gl = WebGLRenderingContext.prototype;
  const record = (window.recording = { textures: [], draws: [], drawsByFrame: {} });
  const ids = new Map();
  const idOf = (texture) => (ids.has(texture) ? ids.get(texture) : (ids.set(texture, ids.size), ids.size - 1));
  let bound = null, blend = false, src = 1, dst = 0, data = new Float32Array(0);
  const after = (name, note) => {
    const real = gl[name];
    gl[name] = function (...args) {
      const result = real.apply(this, args);
      note(args);
      return result;
    };
  };
  const copy = (view) => new Float32Array(view.buffer.slice(view.byteOffset, view.byteOffset + view.byteLength));
  after('bindTexture', ([, texture]) => (bound = texture));
  after('texImage2D', (a) => record.textures.push({
    id: idOf(bound), width: a[3], height: a[4], format: a[6], type: a[7], pixels: a[8] ? new Uint8Array(a[8]) : null }));
  after('texParameteri', ([, name, value]) => record.textures.push({ id: idOf(bound), name, value }));
  after('enable', ([cap]) => cap === 0x0BE2 && (blend = true));
  after('disable', ([cap]) => cap === 0x0BE2 && (blend = false));
  after('blendFunc', ([s, d]) => ((src = s), (dst = d)));
  after('bufferData', ([, view]) => ArrayBuffer.isView(view) && (data = copy(view)));
  after('drawArrays', ([mode, first, count]) => {
    const frame = Number(document.querySelector('canvas').dataset.frame || 0) + 1;
    record.drawsByFrame[frame] = (record.drawsByFrame[frame] || 0) + 1;
    if (frame >= window.recordFrom)
      record.draws.push({ frame, mode, texture: idOf(bound), blend, src, dst,
                          vertices: data.slice(first * 10, (first + count) * 10) });
  });

  // The recording as a description and one block of bytes (the pixels and
  // the vertices), handed out in base64 pieces.
  window.packRecording = () => {
    const parts = [];
    let bytes = 0;
    const put = (view) => {
      parts.push(new Uint8Array(view.buffer, view.byteOffset, view.byteLength));
      const at = bytes;
      bytes += Math.ceil(view.byteLength / 4) * 4;
      if (view.byteLength % 4) parts.push(new Uint8Array(4 - (view.byteLength % 4)));
      return at;
    };
    const textures = record.textures.map(({ pixels, ...rest }) => (pixels ? { ...rest, at: put(pixels) } : rest));
    const draws = record.draws.map(({ vertices, ...rest }) => ({ ...rest, at: put(vertices), count: vertices.length / 10 }));
    const block = new Uint8Array(bytes);
    let at = 0;
    for (const part of parts) {
      block.set(part, at);
      at += part.byteLength;
    }
    window.packed = block;
    return { textures, draws, bytes };
  };
  window.packedPiece = (from, to) => {
    let text = '';
    for (let at = from; at < to; at += 0x8000)
      text += String.fromCharCode.apply(null, window.packed.subarray(at, Math.min(at + 0x8000, to)));
    return btoa(text);
  };
})();
