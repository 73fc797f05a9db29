// Frame comparisons for the browser tests, with ImageMagick: the share of
// pixels whose colour is off by more than FUZZ, after masking boxes that
// may differ for a reason (the music lamps: the page mixes on real time,
// a capture offline, so the lamps light at other moments).
'use strict';
const { execFileSync, spawnSync } = require('child_process');

// SwiftShader and Mesa's llvmpipe round texture filtering and the CRT
// shader's pow and sin a little differently: colours stay within a few
// percent, except along the sharpest edges, where a pixel may land on the
// other side of an edge.
const FUZZ = '12%';
const MAX_SHARE = 0.01;

function masked(file, boxes, out) {
  if (!boxes.length) return file;
  const draw = boxes.map((b) => `rectangle ${b.join(',')}`).join(' ');
  execFileSync('convert', [file, '-fill', 'black', '-draw', draw, out]);
  return out;
}

function compare(a, b, boxes, diff) {
  const ma = masked(a, boxes, diff + '.a.png'), mb = masked(b, boxes, diff + '.b.png');
  const r = spawnSync('compare', ['-metric', 'AE', '-fuzz', FUZZ, ma, mb, diff]);
  const off = parseFloat(r.stderr.toString());
  if (r.status > 1 || Number.isNaN(off)) return { ok: false, detail: 'compare: ' + r.stderr.toString().trim() };
  const size = execFileSync('identify', ['-format', '%w %h', ma]).toString().split(' ').map(Number);
  const share = off / (size[0] * size[1]);
  return { ok: share <= MAX_SHARE, detail: `${off} pixels (${(share * 100).toFixed(2)}%) off by more than ${FUZZ}, ` +
                                          `at most ${MAX_SHARE * 100}% allowed` };
}

// The eight music lamps: 6x4 sprites, 4 across at x 16 + 31 j, rows at y
// 106 and 155 of the copier frame.
const LAMP_PLACES = [0, 1, 2, 3].flatMap((j) => [106, 155].map((y) => [16 + 31 * j, y]));

// Window boxes of the lamps on frame file n (unwarp reads its size and the
// camera of CRT pass n), grown by margin frame pixels.
function lampBoxes(unwarp, file, n, margin = 2) {
  const at = (x, y) => execFileSync(unwarp, ['--frame', String(n), file, String(x), String(y)])
    .toString().trim().split(' ').map(Number);
  return LAMP_PLACES.map(([x, y]) => [...at(x - margin, y - margin), ...at(x + 5 + margin, y + 3 + margin)]);
}

// The lamps of frame file n as a string of 1 (lit) and 0: a lit lamp is
// red, its mean red well above the dark lamp's (about 70 of 255 through
// the CRT, lit about 110 to 180).
function lampStates(unwarp, file, n) {
  return LAMP_PLACES.map(([x, y]) => {
    const crop = `${file}-lamp-${x}-${y}.png`;
    execFileSync(unwarp, ['--frame', String(n), file, String(x), String(y), String(x + 5), String(y + 3), '1', crop]);
    const red = Number(execFileSync('convert', [crop, '-format', '%[fx:255*mean.r]', 'info:']).toString());
    return red > 95 ? '1' : '0';
  }).join('');
}

module.exports = { compare, lampBoxes, lampStates };
