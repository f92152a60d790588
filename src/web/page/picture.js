// The picture in the window: the canvas fitted to it from the first frame
// and again whenever the window or its zoom changes, and a picture shown
// smaller than 640x480 averaged. Loaded before page.js, which hands it each
// whole frame (vorlexPicture.frameWhole).
'use strict';
window.vorlexPicture = (function () {
  var canvas = document.getElementById('canvas');
  var main = document.querySelector('main');
  var small = document.getElementById('small');
  // The picture's size, as index.html gives the canvas before the program runs.
  var pictureWidth = canvas.width, pictureHeight = canvas.height;

  // In a window, the largest whole number of device pixels per demo pixel
  // that fits, so every pixel of the demo is a square of whole screen pixels
  // at any device pixel ratio or zoom; below one, the fraction that fits,
  // shown averaged (below). Full screen covers the screen 4:3, as the
  // desktop's does. Layout keeps sizes in fractions of a CSS pixel (1/64 in
  // Chromium, 1/60 in Firefox): at ratio 3, 4 device pixels a demo pixel is
  // 853.33 CSS pixels, laid out as 2559.98 device pixels and shown a column
  // short. A size layout cannot hold is given up for the next smaller scale.
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var room = main.getBoundingClientRect();
    var scale = Math.min(room.width * ratio / pictureWidth, room.height * ratio / pictureHeight);
    if (scale >= 1 && document.fullscreenElement !== main) {
      for (scale = Math.floor(scale); !sizeHolds(pictureWidth * scale, pictureHeight * scale, ratio) && scale > 1; --scale);
    } else {
      sizeHolds(Math.max(1, Math.round(pictureWidth * scale)), Math.max(1, Math.round(pictureHeight * scale)), ratio);
    }
    var width = Math.max(1, Math.round(pictureWidth * scale)), height = Math.max(1, Math.round(pictureHeight * scale));
    small.hidden = scale >= 1;
    if (!small.hidden && (small.width !== width || small.height !== height)) {
      small.width = width;
      small.height = height;
      showSmall();
    }
    // Centred, the canvas may start inside a device pixel, which would make
    // its columns or rows uneven: it moves to a pixel's edge.
    main.style.setProperty('--nudge-x', '0px');
    main.style.setProperty('--nudge-y', '0px');
    var at = canvas.getBoundingClientRect();
    var left = onPixelEdge(at.left, ratio), top = onPixelEdge(at.top, ratio);
    main.style.setProperty('--nudge-x', left - at.left + 'px');
    main.style.setProperty('--nudge-y', top - at.top + 'px');
    main.style.setProperty('--left', left - room.left + 'px');
    main.style.setProperty('--top', top - room.top + 'px');
  }
  // Sizes the canvas at width x height device pixels, or as near as layout
  // holds them: each side its exact CSS size, or the nearest on Chromium's
  // grid or Firefox's, above or below. True when both hold to 1/100.
  function sizeHolds(width, height, ratio) {
    var across = sideHolds('--width', 'width', width, ratio);
    return sideHolds('--height', 'height', height, ratio) && across;
  }
  function sideHolds(property, side, devicePixels, ratio) {
    var css = devicePixels / ratio;
    var tries = [css, Math.ceil(css * 64) / 64, Math.floor(css * 64) / 64, Math.ceil(css * 60) / 60, Math.floor(css * 60) / 60, css];
    for (var i = 0; i < tries.length; ++i) {
      main.style.setProperty(property, tries[i] + 'px');
      if (Math.abs(canvas.getBoundingClientRect()[side] * ratio - devicePixels) < 0.01) return true;
    }
    return false;
  }
  // Scaled down, nearest sampling drops whole rows and columns, and the
  // browser's smoothing reads too few pixels a step to keep a one-pixel line:
  // #small, laid over the canvas, shows each frame halved exactly (each pixel
  // the mean of two by two) until a step is at most two pixels, then scaled
  // smoothly. Copies are made at once, on the CPU (willReadFrequently): one
  // deferred would read the WebGL canvas once the browser had cleared it.
  // The last frame is kept, to be shown again at a new size.
  var copies = { last: null, halves: [], now: { willReadFrequently: true } };
  function showSmall() {
    var from = copies.last;
    for (var step = 0; from && !small.hidden && from.width > 2 * small.width; ++step) {
      var half = copies.halves[step] = copies.halves[step] || document.createElement('canvas');
      half.width = from.width >> 1;
      half.height = from.height >> 1;
      half.getContext('2d', copies.now).drawImage(from, 0, 0, half.width, half.height);
      from = half;
    }
    if (from && !small.hidden) small.getContext('2d', copies.now).drawImage(from, 0, 0, small.width, small.height);
  }
  function frameWhole() {
    if (small.hidden) return;
    copies.last = copies.last || Object.assign(document.createElement('canvas'), { width: pictureWidth, height: pictureHeight });
    copies.last.getContext('2d', copies.now).drawImage(canvas, 0, 0);
    showSmall();
  }

  // Layout places a box in fractions of a CSS pixel (1/64 in Chromium, 1/60
  // in Firefox), which miss most device pixels' edges at a ratio like 1.25:
  // the nearest edge on a quarter CSS pixel, which both can place exactly.
  function onPixelEdge(css, ratio) {
    var nearest = Math.round(css * ratio);
    for (var away = 0; away < 16; ++away) {
      for (var sign = -1; sign <= 1; sign += 2) {
        var quarters = (nearest + sign * away) / ratio * 4;
        if (Math.abs(quarters - Math.round(quarters)) < 1e-6) return Math.round(quarters) / 4;
      }
    }
    return nearest / ratio;
  }
  if (window.ResizeObserver) new ResizeObserver(fit).observe(main);
  window.addEventListener('resize', fit);
  fit();

  return { frameWhole: frameWhole };
})();
