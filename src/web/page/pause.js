// The Pause/Play button. The program holds the frame it has just shown while
// paused, and goes on from it on Play: motion is counted in frames, so the
// picture stays exactly as it was and no frame is skipped. A visitor who has
// asked for reduced motion gets the first frame, still, until they press
// Play. Loaded before page.js, which hands `vorlexPlayback` to the program.
'use strict';
window.vorlexPlayback = (function () {
  var button = document.getElementById('pause');
  var state = document.getElementById('state');
  var canvas = document.getElementById('canvas');
  // ?frames=N asks for frame N itself: it is never held back.
  var still = !new URLSearchParams(location.search).has('frames') &&
    window.matchMedia('(prefers-reduced-motion: reduce)').matches;
  var playback = {
    paused: false,
    // Set by the program while it holds a frame; called to let it go on.
    resume: null,
    // Called by the program as it starts holding the frame it has shown;
    // said after page.js has seen that frame (its observer clears the line
    // at the first).
    held: function () {
      queueMicrotask(function () { say('Paused at frame ' + canvas.dataset.frame + '.'); });
    },
  };
  var said = '';

  // The line under the canvas is this button's only while it says so.
  function say(line) {
    if (state.textContent === said || line) state.textContent = line;
    said = line;
  }
  function show(paused) {
    playback.paused = paused;
    button.textContent = paused ? 'Play' : 'Pause';
  }
  button.addEventListener('click', function () {
    show(!playback.paused);
    if (playback.paused || !playback.resume) return;
    say('');
    playback.resume();
  });
  // It keeps its place once the demo has ended: the picture keeps its size.
  new MutationObserver(function () {
    if (document.body.dataset.state === 'ended') button.disabled = true;
  }).observe(document.body, { attributes: true, attributeFilter: ['data-state'] });
  show(still);
  return playback;
})();
