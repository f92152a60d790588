// The page's GL layer's WebGL side (device.h), linked with --js-library: one
// shader program, one vertex buffer and the textures. Each batch is one
// upload and one draw; the program, the buffer and the attribute layout stay
// bound, and a blend or texture change is made only when it differs from the
// last draw's. Untextured batches sample a white texel, so one program draws
// both kinds, as GL's modulate does.
//
// Objects of a lost context are never used: from the moment it is lost
// until the program has made its objects again (webglRebuild), the device
// draws and uploads nothing, however soon the context came back.
//
// A shader WebGL will not compile or link is the page's one line: the
// device keeps the reason and draws nothing, and the display, which asks
// webglMake once the context is live, ends the program with it.
mergeInto(LibraryManager.library, {
  $webgl: { ready: false, stale: false, watching: false, textures: {}, white: null, last: {},
            drawn: false, largest: 0, refused: '' },
  // The context, or null while its objects are not to be used.
  $webglReady__deps: ['$webgl'],
  $webglReady: function() {
    var gl = Module.ctx;
    if (!webgl.watching) {
      gl.canvas.addEventListener('webglcontextlost', function() { webgl.stale = true; });
      webgl.watching = true;
    }
    if (gl.isContextLost())
      webgl.stale = true;
    if (webgl.stale || webgl.refused)
      return null;
    if (webgl.ready)
      return gl;
    // A lost context answers every status with nothing: that is no refusal.
    function refused(what, ok, log) {
      if (ok || gl.isContextLost())
        return false;
      webgl.refused = 'WebGL would not ' + what + ': ' + (log || '').replace(/\s+/g, ' ').trim();
      return true;
    }
    function shader(type, what, text) {
      var made = gl.createShader(type);
      gl.shaderSource(made, text);
      gl.compileShader(made);
      gl.attachShader(program, made);
      return !refused('compile the page\'s ' + what + ' shader', gl.getShaderParameter(made, gl.COMPILE_STATUS),
                      gl.getShaderInfoLog(made));
    }
    var program = gl.createProgram();
    if (!shader(gl.VERTEX_SHADER, 'vertex',
      'attribute vec4 position; attribute vec2 coordinate; attribute vec4 colour;' +
      'varying vec2 v_coordinate; varying vec4 v_colour;' +
      'void main() { gl_Position = position; v_coordinate = coordinate; v_colour = colour; }') ||
        !shader(gl.FRAGMENT_SHADER, 'fragment',
      'precision mediump float; uniform sampler2D texture; varying vec2 v_coordinate; varying vec4 v_colour;' +
      'void main() { gl_FragColor = v_colour * texture2D(texture, v_coordinate); }'))
      return null;
    gl.bindAttribLocation(program, 0, 'position');
    gl.bindAttribLocation(program, 1, 'coordinate');
    gl.bindAttribLocation(program, 2, 'colour');
    gl.linkProgram(program);
    if (refused('link the page\'s shaders', gl.getProgramParameter(program, gl.LINK_STATUS),
                gl.getProgramInfoLog(program)))
      return null;
    gl.useProgram(program);
    gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
    gl.enableVertexAttribArray(0);
    gl.enableVertexAttribArray(1);
    gl.enableVertexAttribArray(2);
    gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 40, 0);
    gl.vertexAttribPointer(1, 2, gl.FLOAT, false, 40, 16);
    gl.vertexAttribPointer(2, 4, gl.FLOAT, false, 40, 24);
    webgl.white = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, webgl.white);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, 1, 1, 0, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array([255, 255, 255, 255]));
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
    webgl.last = { texture: -1, blend: -1, src: -1, dst: -1 };
    webgl.ready = true;
    return gl;
  },

  webglDraw__deps: ['$webglReady'],
  webglDraw: function(lines, texture, blend, src, dst, vertices, count) {
    var gl = webglReady();
    if (!gl)
      return;
    webgl.drawn = true;
    var last = webgl.last;
    if (texture !== last.texture) {
      // A name with no image draws untextured, as an incomplete texture does in GL.
      gl.bindTexture(gl.TEXTURE_2D, webgl.textures[texture] || webgl.white);
      last.texture = texture;
    }
    if (blend !== last.blend) {
      blend ? gl.enable(gl.BLEND) : gl.disable(gl.BLEND);
      last.blend = blend;
    }
    if (blend && (src !== last.src || dst !== last.dst)) {
      gl.blendFunc(src, dst);
      last.src = src;
      last.dst = dst;
    }
    // A whole new store each time: rewriting one the last draw still reads
    // would make the GPU process copy or wait.
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + count * 10), gl.STREAM_DRAW);
    gl.drawArrays(lines ? gl.LINES : gl.TRIANGLES, 0, count);
  },

  webglClear__deps: ['$webglReady'],
  webglClear: function(mask, red, green, blue, alpha) {
    var gl = webglReady();
    if (!gl)
      return;
    webgl.drawn = true;
    gl.clearColor(red, green, blue, alpha);
    gl.clear(mask);
  },

  // WebGL 1 samples a texture whose sides are not both powers of two only
  // when it does not repeat: such a texture is clamped to its edge.
  webglTexImage__deps: ['$webglReady'],
  webglTexImage: function(texture, width, height, format, type, pixels) {
    var gl = webglReady();
    if (!gl)
      return;
    var made = webgl.textures[texture] || (webgl.textures[texture] = gl.createTexture());
    gl.bindTexture(gl.TEXTURE_2D, made);
    webgl.last.texture = -1;
    gl.texImage2D(gl.TEXTURE_2D, 0, format, width, height, 0, format, type,
                  pixels ? HEAPU8.subarray(pixels, pixels + width * height * 4) : null);
    if ((width & (width - 1)) || (height & (height - 1))) {
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    }
  },
  webglTexParameter__deps: ['$webglReady'],
  webglTexParameter: function(texture, name, value) {
    var gl = webglReady();
    if (!gl)
      return;
    var made = webgl.textures[texture] || (webgl.textures[texture] = gl.createTexture());
    gl.bindTexture(gl.TEXTURE_2D, made);
    webgl.last.texture = -1;
    gl.texParameteri(gl.TEXTURE_2D, name, value);
  },
  // Read only from a live context, which a lost one answers with null; the
  // program reads it only once the context is live (display.cpp).
  webglMaxTextureSize__deps: ['$webgl'],
  webglMaxTextureSize: function() {
    if (!Module.ctx.isContextLost())
      webgl.largest = Module.ctx.getParameter(0x0D33 /* MAX_TEXTURE_SIZE */);
    return webgl.largest;
  },
  webglError__deps: ['$webglReady'],
  webglError: function() {
    var gl = webglReady();
    return gl ? gl.getError() : 0;
  },
  // The device's objects made now on a live context; 0, with the reason,
  // when WebGL refuses the shaders.
  webglMake__deps: ['$webglReady'],
  webglMake: function(reason, size) {
    webglReady();
    stringToUTF8(webgl.refused, reason, size);
    return webgl.refused ? 0 : 1;
  },
  webglRebuild__deps: ['$webgl'],
  webglRebuild: function() {
    webgl.ready = false;
    webgl.stale = false;
    webgl.textures = {};
  },
});
