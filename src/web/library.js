// The page's side of the web platform, linked with --js-library.

// Emscripten's SDL_Init, kept to be called by the one below.
var webSdlInit = LibraryManager.library['SDL_Init'];
var webSdlInitDeps = LibraryManager.library['SDL_Init__deps'] || [];

mergeInto(LibraryManager.library, {
  // SDL_Init listens for `unload`, a deprecated event whose mere listener
  // keeps the page out of the browser's back/forward cache. What that
  // listener did, it does on `pagehide` when the page is really going away
  // (not kept in that cache): the same quit request handed to SDL.
  $webSdlInit: webSdlInit,
  $webSdlInit__deps: webSdlInitDeps,
  SDL_Init__deps: ['$webSdlInit'],
  SDL_Init: function(initFlags) {
    window.addEventListener = function(type, listener, options) {
      if (type !== 'unload')
        return EventTarget.prototype.addEventListener.call(window, type, listener, options);
      EventTarget.prototype.addEventListener.call(window, 'pagehide', function(event) {
        if (!event.persisted)
          listener({ type: 'unload' });
      });
    };
    try {
      return webSdlInit(initFlags);
    } finally {
      delete window.addEventListener;
    }
  },

  // SDL queues key presses from the document and mouse events from the
  // canvas, and cancels what the browser would do with each. The frame loop
  // acts on Escape alone and takes one event a frame, so a moving mouse would
  // hold an Escape press back: SDL gets Escape and nothing else, and every
  // other key stays the browser's (Tab, F5, Ctrl+L, the arrows...). Once the
  // demo has ended (SDL_Quit, or an abort), no key is taken.
  $webKeys: { listener: null },
  webTakeKeys__deps: ['$SDL', '$webKeys', '$webContext', '$webPlayback'],
  webTakeKeys: function() {
    ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup', 'mousemove',
     'DOMMouseScroll', 'mousewheel', 'wheel', 'mouseout'].forEach(function(type) {
      Module['canvas'].removeEventListener(type, SDL.receiveEvent, true);
    });
    ['keydown', 'keyup', 'keypress'].forEach(function(type) {
      document.removeEventListener(type, SDL.receiveEvent);
    });
    webKeys.listener = function(event) {
      if (event.key !== 'Escape' || ABORT)
        return;
      SDL.receiveEvent(event);  // queues it and cancels the browser's action
      // While the context is lost or the frame held the loop waits; Escape ends the wait.
      if (event.type === 'keydown' && webContext.wake)
        webContext.wake();
      if (event.type === 'keydown' && webPlayback.wake)
        webPlayback.wake();
    };
    document.addEventListener('keydown', webKeys.listener);
    document.addEventListener('keyup', webKeys.listener);
    // An Escape the page kept while it loaded ends the loop before its first frame.
    var early = Module['takeEarlyEscape'] ? Module['takeEarlyEscape']() : null;
    if (early)
      SDL.receiveEvent(early);
  },

  // The browser may take the GL context away (memory pressure, a GPU reset)
  // and give it back later, with every texture, buffer and shader gone. The
  // loop waits while it is lost (webAwaitContext, between frames) and
  // rebuilds what the context held once it is back. A context is lost from
  // the moment the browser says so (isContextLost), its event comes later;
  // and a listener may lose it again before the page's own hears it is back.
  $webContext: { lost: false, restores: 0, wake: null },
  $webContextGone__deps: ['$webContext'],
  $webContextGone: function() {
    return webContext.lost || Module.ctx.isContextLost();
  },
  webWatchContext__deps: ['$webContext', '$webContextGone'],
  webWatchContext: function() {
    var canvas = Module['canvas'];
    canvas.addEventListener('webglcontextlost', function(event) {
      event.preventDefault();  // or the browser never gives it back
      webContext.lost = true;
    });
    canvas.addEventListener('webglcontextrestored', function() {
      webContext.lost = false;
      ++webContext.restores;
      if (webContext.wake && !webContextGone())
        webContext.wake();
    });
  },
  webContextLost__deps: ['$webContextGone'],
  webContextLost: function() {
    return webContextGone() ? 1 : 0;
  },
  webAwaitContext__deps: ['$Asyncify', '$callUserCallback', '$webContext', '$webContextGone'],
  webAwaitContext: function() {
    Asyncify.handleSleep(function(wakeUp) {
      webContext.wake = function() {
        webContext.wake = null;
        callUserCallback(wakeUp);
      };
      if (!webContextGone())
        webContext.wake();
    });
  },
  webTakeRestore__deps: ['$webContext'],
  webTakeRestore: function() {
    var restored = webContext.restores > 0;
    webContext.restores = 0;
    return restored ? 1 : 0;
  },
  webHasWebGL: function() {
    var probe = document.createElement('canvas');
    return probe.getContext('webgl') ? 1 : 0;
  },
  // A browser may offer WebGL and still refuse it to the page's own canvas.
  webCanvasHasWebGL: function() {
    return Module.ctx ? 1 : 0;
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

  // The tick counter the frame loop paces and measures by, and the clock
  // SDL_Delay waits on: one clock, performance.now() in whole milliseconds
  // from the first reading, never going back. (Emscripten's own reads
  // Date.now(), another clock; Firefox moves both in jittered 1 ms steps.)
  // A wait then ends only once the counter has moved on by the whole delay,
  // so two frames are never closer than 16 ticks, whatever the timer's grain.
  // While the page holds a frame (Pause) the counter stands still, so the
  // frame-rate window that spans a pause counts only the time frames ran.
  $webClock: { start: null, last: 0 },
  SDL_GetTicks__deps: ['$webClock'],
  SDL_GetTicks: function() {
    var now = performance.now();
    if (webClock.start === null)
      webClock.start = now;
    webClock.last = Math.max(webClock.last, Math.floor(now - webClock.start));
    return webClock.last;
  },

  // The frame loop's wait (SDL_Delay, display.cpp) gives way to the browser
  // while it waits; presentFrame then need not give way again (each extra
  // turn costs a few milliseconds). A browser's timer wakes a millisecond or
  // more late, which at 16 ms a frame costs two frames a second: the timer
  // waits all but the last two milliseconds, and message turns, which the
  // browser runs at once, wait out the rest.
  webSleep__deps: ['$Asyncify', '$safeSetTimeout', '$callUserCallback', 'SDL_GetTicks'],
  webSleep: function(delay) {
    var deadline = _SDL_GetTicks() + delay;
    Asyncify.handleSleep(function(wakeUp) {
      var channel = new MessageChannel();
      function check() {
        if (_SDL_GetTicks() < deadline) {
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

  // The canvas holds a whole frame: the page may take a copy now (a picture
  // shown smaller than 640x480 is shown averaged, picture.js). Only a frame
  // just drawn: once the browser has shown it, WebGL may have cleared it.
  webFrameWhole__deps: ['$webgl'],
  webFrameWhole: function() {
    var fresh = webgl.drawn;
    webgl.drawn = false;
    if (fresh && Module['frameWhole'])
      Module['frameWhole']();
  },

  // A frame that needed no wait gives way in a message turn: the browser runs
  // it at once, where a chain of zero-delay timeouts is held to about 4 ms a
  // link, which would pace ?frames=N.
  $webTurn: { channel: null, wake: null },
  webGiveWay__deps: ['$Asyncify', '$callUserCallback', '$webTurn'],
  webGiveWay: function() {
    Asyncify.handleSleep(function(wakeUp) {
      if (!webTurn.channel) {
        webTurn.channel = new MessageChannel();
        webTurn.channel.port1.onmessage = function() {
          var wake = webTurn.wake;
          webTurn.wake = null;
          callUserCallback(wake);
        };
      }
      webTurn.wake = wakeUp;
      webTurn.channel.port2.postMessage(0);
    });
  },

  // Pause: the frame just shown stays until the page's Play (Module.playback,
  // pause.js) or an Escape lets the loop go on.
  $webPlayback: { wake: null },
  webHoldWhilePaused__deps: ['$Asyncify', '$callUserCallback', '$webPlayback', '$webClock'],
  webHoldWhilePaused: function() {
    var playback = Module['playback'];
    // Coming back from the hold, Asyncify calls this again to rewind into
    // it, when the page no longer says paused: that call must reach handleSleep.
    if (Asyncify.state === Asyncify.State.Normal && !(playback && playback.paused))
      return;
    Asyncify.handleSleep(function(wakeUp) {
      var since = performance.now();
      if (playback.held)
        playback.held();
      webPlayback.wake = playback.resume = function() {
        webPlayback.wake = playback.resume = null;
        if (webClock.start !== null)
          webClock.start += performance.now() - since;
        callUserCallback(wakeUp);
      };
    });
  },

  webFetchProblem: function(path, into, size) {
    stringToUTF8(Module['fetchProblems'][UTF8ToString(path)] || '', into, size);
  },

  // The emulated SDL_Quit only prints that it did nothing, which would mix
  // with the frame-rate lines; in a page it gives the keys back.
  SDL_Quit__deps: ['$webKeys'],
  SDL_Quit: function() {
    if (!webKeys.listener)
      return;
    document.removeEventListener('keydown', webKeys.listener);
    document.removeEventListener('keyup', webKeys.listener);
    webKeys.listener = null;
  },
});
