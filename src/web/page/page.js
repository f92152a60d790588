// The page around the demo: shows what is loading and the one line of a
// failure, and loads vorlex.js; picture.js fits the picture to the window.
// A file of its own, not inline, so the page runs under a policy of
// default-src 'self'.
'use strict';
(function () {
  var canvas = document.getElementById('canvas');
  var main = document.querySelector('main');
  var problem = document.getElementById('problem');
  var state = document.getElementById('state');
  var fullscreen = document.getElementById('fullscreen');

  function ended(status) {
    if (document.body.dataset.state === 'ended') return;
    state.textContent = status === 0 ? 'The demo has ended.' : 'The demo has stopped.';
    document.body.dataset.state = 'ended';
  }
  // The one line the program writes when it cannot go on.
  function showProblem(line) {
    problem.textContent = line;
  }
  function stop(line) {
    console.error(line);
    showProblem(line);
    ended(1);
  }
  function loading(what) {
    if (document.body.dataset.state === 'loading') state.textContent = 'Loading ' + what;
  }

  // The page fetches its files, which a browser refuses to a file: address.
  if (location.protocol === 'file:') {
    stop('Vorlex: the page must come from a web server, not a file: address: ' +
         'run scripts/web.sh serve and open the address it prints');
    return;
  }

  // Until the program takes the keys, an Escape is kept here and handed to
  // it then: the demo ends before its first frame.
  var earlyEscape = null;
  function keepEscape(event) {
    if (event.key !== 'Escape' || document.body.dataset.state !== 'loading') return;
    earlyEscape = event;
    event.preventDefault();
  }
  document.addEventListener('keydown', keepEscape);

  // The first frame ends the loading.
  new MutationObserver(function (changes, observer) {
    observer.disconnect();
    if (document.body.dataset.state !== 'loading') return;
    document.body.dataset.state = 'running';
    state.textContent = '';
  }).observe(canvas, { attributes: true, attributeFilter: ['data-frame'] });

  if (document.fullscreenEnabled) {
    fullscreen.hidden = false;
    fullscreen.addEventListener('click', function () {
      main.requestFullscreen().then(function () { canvas.focus(); }, function (why) {
        showProblem('Vorlex: cannot go full screen: ' + why.message);
      });
    });
  }

  // The browser may take the GL context away and give it back, as soon as
  // the program has made it too; the program waits meanwhile and goes on
  // where it was, loading or running.
  var loadingLine = '';
  canvas.addEventListener('webglcontextlost', function () {
    var now = document.body.dataset.state;
    if (now !== 'running' && now !== 'loading') return;
    loadingLine = state.textContent;
    document.body.dataset.state = 'lost';
    state.textContent = 'The browser has taken the WebGL context away; the demo goes on when it gives it back.';
  });
  canvas.addEventListener('webglcontextrestored', function () {
    if (document.body.dataset.state !== 'lost') return;
    var drawn = Boolean(canvas.dataset.frame);
    document.body.dataset.state = drawn ? 'running' : 'loading';
    state.textContent = drawn ? '' : loadingLine;
  });

  // vorlex.wasm, read here with its progress shown, so that a missing or
  // broken file is named in one line rather than in the runtime's abort.
  // Its bytes are compiled as they are: any type the server gives will do.
  // The build writes its size here (a compressed answer's length is not it).
  var wasmBytes = 0;
  function fetchWasm() {
    return fetch('vorlex.wasm').then(function (response) {
      if (!response.ok) throw new Error('cannot fetch vorlex.wasm: ' + (response.status + ' ' + response.statusText).trim());
      var size = wasmBytes || Number(response.headers.get('Content-Length'));
      if (!response.body || !size) return response.arrayBuffer();
      var reader = response.body.getReader();
      var parts = [];
      var got = 0;
      function next() {
        return reader.read().then(function (chunk) {
          if (chunk.done) return new Blob(parts).arrayBuffer();
          parts.push(chunk.value);
          got += chunk.value.length;
          loading('vorlex.wasm: ' + Math.min(99, Math.floor(got * 100 / size)) + '%');
          return next();
        });
      }
      return next();
    }, function (why) {
      throw new Error('cannot fetch vorlex.wasm: ' + why.message);
    });
  }

  window.Module = {
    canvas: canvas,
    // Standard output (the frame-rate lines) goes to the console as it is.
    print: function (line) { console.log(line); },
    // The program's own lines name it; the rest is the runtime's notes.
    printErr: function (line) {
      if (line.indexOf('Vorlex: ') === 0) {
        console.error(line);
        showProblem(line);
      } else {
        console.warn(line);
      }
    },
    onExit: ended,
    // Called by the program whenever the canvas holds a whole frame.
    frameWhole: window.vorlexPicture.frameWhole,
    // Pause and Play (pause.js).
    playback: window.vorlexPlayback,
    onAbort: function (what) {
      showProblem('Vorlex: the page stopped: ' + what);
      ended(1);
    },
    // Called by the program as it takes the keys.
    takeEarlyEscape: function () {
      document.removeEventListener('keydown', keepEscape);
      return earlyEscape;
    },
    instantiateWasm: function (imports, receive) {
      loading('vorlex.wasm: 0%');
      fetchWasm()
        .then(function (bytes) {
          loading('the images');
          return WebAssembly.instantiate(bytes, imports).catch(function (why) {
            throw new Error('vorlex.wasm does not load: ' + String(why));
          });
        })
        .then(function (result) { receive(result.instance, result.module); },
              function (why) { stop('Vorlex: ' + why.message); });
      return {};
    },
  };
  window.addEventListener('error', function (event) {
    stop('Vorlex: the page stopped: ' + event.message);
  });
  // Whatever else fails on the way is the page's one line, never a page
  // left loading.
  window.addEventListener('unhandledrejection', function (event) {
    event.preventDefault();  // the line below says it
    var why = event.reason;
    stop('Vorlex: the page stopped: ' + (why && why.message ? why.message : String(why)));
  });

  var script = document.createElement('script');
  script.src = 'vorlex.js';
  script.onerror = function () {
    fetch('vorlex.js', { method: 'HEAD', cache: 'no-store' })
      .then(function (response) {
        return response.ok ? 'the browser would not run it' : (response.status + ' ' + response.statusText).trim();
      }, function (why) { return why.message; })
      .then(function (why) { stop('Vorlex: cannot fetch vorlex.js: ' + why); });
  };
  loading('vorlex.js');
  document.body.appendChild(script);
  canvas.focus();

  // Keeps the page's files for a visit without the network (sw.js), once the
  // page has what it needs. A browser that refuses (private windows may) runs
  // the page all the same.
  if (navigator.serviceWorker) {
    window.addEventListener('load', function () {
      navigator.serviceWorker.register('sw.js').catch(function () {});
    });
  }
})();
