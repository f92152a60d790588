// The page's side of the web platform, linked with --js-library.
mergeInto(LibraryManager.library, {
  // SDL queues key presses from the document and mouse events from the
  // canvas; the frame loop takes one event a frame, so a moving mouse would
  // hold an Escape press back. Only the keys stay, as on the desktop.
  webQueueOnlyKeys__deps: ['$SDL'],
  webQueueOnlyKeys: function() {
    ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup', 'mousemove',
     'DOMMouseScroll', 'mousewheel', 'wheel', 'mouseout'].forEach(function(type) {
      Module['canvas'].removeEventListener(type, SDL.receiveEvent, true);
    });
  },

  webHasWebGL: function() {
    var probe = document.createElement('canvas');
    return probe.getContext('webgl') ? 1 : 0;
  },

  // The frames the address asks for with ?frames=N: 0 when it asks for none
  // (the demo runs until Escape), -1 when N is not a whole number from 1 on.
  webFramesWanted: function() {
    var wanted = new URLSearchParams(location.search).get('frames');
    if (wanted === null) return 0;
    return /^[1-9][0-9]{0,8}$/.test(wanted) ? Number(wanted) : -1;
  },

  webShowFrame: function(frame) {
    Module['canvas'].dataset.frame = frame;
  },

  // SDL_Delay gives way to the browser while it waits; presentFrame then
  // need not give way again (each extra turn costs a few milliseconds). A
  // browser's timer wakes a millisecond or more late, which at 16 ms a frame
  // costs two frames a second: the timer waits all but the last two
  // milliseconds, and message turns, which the browser runs at once, wait
  // out the rest.
  $webYield: { waited: false },
  SDL_Delay__deps: ['$Asyncify', '$safeSetTimeout', '$callUserCallback', '$webYield'],
  SDL_Delay: function(delay) {
    webYield.waited = true;
    var deadline = performance.now() + delay;
    Asyncify.handleSleep(function(wakeUp) {
      var channel = new MessageChannel();
      function check() {
        if (performance.now() < deadline) {
          channel.port2.postMessage(0);
          return;
        }
        channel.port1.close();
        callUserCallback(wakeUp);
      }
      channel.port1.onmessage = check;
      safeSetTimeout(check, Math.max(0, delay - 2));
    });
  },
  webTakeWait__deps: ['$webYield'],
  webTakeWait: function() {
    var waited = webYield.waited;
    webYield.waited = false;
    return waited ? 1 : 0;
  },

  // The emulated SDL_Quit only prints that it did nothing, which would mix
  // with the frame-rate lines; there is nothing to shut down in a page.
  SDL_Quit: function() {},
});
