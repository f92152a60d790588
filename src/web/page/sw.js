// The page's service worker: keeps this build's files so that the page runs
// with the network gone, and gives way cleanly to the next build. The build
// (web/publish.js) fills in the cache's name, made from every byte it holds,
// and the files. It stays under its fixed name, beside index.html, so it
// serves the folder the page was published in, whatever its path.
'use strict';
var cacheName = 'vorlex-build';
var files = ['./'];

// A new build's worker fetches its files while the old one still serves the
// open pages; it takes over once they are closed (no skipWaiting), so a page
// never mixes two builds.
self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(cacheName).then(function (cache) { return cache.addAll(files); }));
});

// Then every other build's cache goes.
self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf('vorlex-') === 0 && name !== cacheName;
    }).map(function (name) { return caches.delete(name); }));
  }));
});

// A name with its content's hash never changes: from the cache first. The
// page itself and the images at their fixed paths: from the network, so a
// page published anew is seen at once, and from the cache when there is no
// network (the page at any ?frames= is the one page).
var hashed = /\.[0-9a-f]{8}\.[a-z0-9]+$/;
self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  if (hashed.test(new URL(request.url).pathname)) {
    event.respondWith(caches.match(request, { cacheName: cacheName }).then(function (kept) {
      return kept || fetch(request);
    }));
    return;
  }
  event.respondWith(fetch(request).catch(function (why) {
    var page = request.mode === 'navigate' ? new Request('./') : request;
    return caches.match(page, { cacheName: cacheName, ignoreSearch: request.mode === 'navigate' }).then(function (kept) {
      if (kept) return kept;
      throw why;
    });
  }));
});
