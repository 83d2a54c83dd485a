// Keeps every file of the page, so that after the first visit the game
// starts and plays offline. Each version of the files lives in a cache of
// its own and is served whole from it: a new version waits until no page
// of the old one is open, so the next start runs on it, and the old cache
// goes. The build writes VERSION and FILES (web/offline.cmake).
'use strict';

const VERSION = '@VERSION@';
const FILES = [@FILES@];
const CACHE = 'vokta-' + VERSION;

// Straight from the server, past the browser's own cache, which may still
// hold files of the version before.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((name) => new Request(name, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('vokta-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('message', (event) => {
  if (event.data === 'version')
    event.source.postMessage({ version: VERSION });
});

// The page's own files from this version's cache, whatever the address
// asks of the page (?seed=, ?start=, #task=); anything else from the network.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin)
    return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
