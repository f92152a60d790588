// What web/serve.js says about a file beyond its bytes: which stored
// encoding of it a client gets, how long it may be kept, and the policy
// every answer carries. Apart from serve.js so that the rules read as one.
'use strict';

// Sent with every answer (an error's without nosniff). The page loads nothing from elsewhere and runs no
// inline script or style; 'wasm-unsafe-eval' lets it compile its wasm. Any
// site may embed it (frame-ancestors *): the page holds no data of a
// visitor's and no action a framing page could trick one into.
const policy = {
  'Content-Security-Policy': "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; " +
    "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors *",
  'X-Content-Type-Options': 'nosniff',
  'Referrer-Policy': 'no-referrer',
};

// The build writes NAME.br and NAME.gz beside each text-like file.
const stored = [['br', '.br'], ['gzip', '.gz']];

// The codings an Accept-Encoding header accepts (q above 0): a Set of names,
// with identity unless it is refused by name or by a refused * without it.
function accepted(header) {
  const codings = new Map();
  for (const part of (header || '').split(',')) {
    const [name, ...parameters] = part.trim().toLowerCase().split(/\s*;\s*/);
    if (!name)
      continue;
    const q = parameters.map((p) => p.match(/^q=([0-9.]+)$/)).find(Boolean);
    codings.set(name, q ? Number(q[1]) > 0 : true);
  }
  const ok = new Set([...codings].filter(([, yes]) => yes).map(([name]) => name));
  if (codings.has('*') && ok.has('*'))
    stored.forEach(([coding]) => codings.has(coding) || ok.add(coding));
  if (!codings.has('identity') && !(codings.has('*') && !ok.has('*')))
    ok.add('identity');
  return ok;
}

// Of the file (identity, `size` bytes) and its stored encodings `variants`
// ({ coding, file, size }), the smallest the request accepts: { coding, file }.
// A range is answered from the file itself, never from an encoding. With
// nothing acceptable the file itself goes out, as RFC 9110 allows.
function choose(request, file, size, variants) {
  let best = { coding: 'identity', file, size };
  if (request.headers.range)
    return best;
  const ok = accepted(request.headers['accept-encoding']);
  const usable = variants.filter((v) => ok.has(v.coding));
  if (!ok.has('identity') && usable.length)
    best = usable[0];
  for (const v of usable)
    if (v.size < best.size) best = v;
  return best;
}

// A name the build gave a content hash (vorlex.3f9c1a2b.wasm) never changes
// its bytes; every other name (the page, its worker and manifest, the images
// at the program's own paths) is asked after each time.
const hashed = (name) => /\.[0-9a-f]{8}\.[a-z0-9]+$/.test(name);
const caching = (name) => hashed(name)
  ? { cacheControl: true, maxAge: '1y', immutable: true }
  : { cacheControl: false, headers: { 'Cache-Control': 'no-cache' } };

// A suffix range longer than the file asks for the whole file (RFC 9110,
// 14.1.1), which range-parser would refuse as unsatisfiable: it is read as
// the whole file's range.
function wholeSuffix(range, size) {
  if (!range || !/^bytes=/.test(range))
    return range;
  return 'bytes=' + range.slice(6).split(',').map((wanted) => {
    const suffix = wanted.trim().match(/^-(\d+)$/);
    return suffix && Number(suffix[1]) >= size && size > 0 ? '0-' : wanted;
  }).join(',');
}

module.exports = { policy, stored, accepted, choose, caching, hashed, wholeSuffix };
