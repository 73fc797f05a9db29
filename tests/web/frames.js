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

// Window boxes of the eight music lamps (6x4 sprites, 4 across at x 16 + 31 j,
// rows at y 106 and 155 of the copier frame) for the CRT pass of frame n,
// grown by margin frame pixels.
function lampBoxes(aim, n, w, h, margin = 2) {
  const boxes = [];
  for (let j = 0; j < 4; j++)
    for (const y of [106, 155]) {
      const x = 16 + 31 * j;
      const out = execFileSync(aim, ['box', String(n), String(w), String(h), String(x - margin), String(y - margin),
                                     String(x + 6 + margin), String(y + 4 + margin)]).toString();
      boxes.push(out.trim().split(' ').map(Number));
    }
  return boxes;
}

// The lamps of frame file n as a string of 1 (lit) and 0: a lit lamp is
// red, its mean red well above the dark lamp's (about 70 of 255 through
// the CRT, lit about 110 to 180).
function lampStates(file, aim, n, w, h) {
  return lampBoxes(aim, n, w, h, 0).map(([x0, y0, x1, y1]) => {
    const red = Number(execFileSync('convert', [file, '-crop', `${x1 - x0}x${y1 - y0}+${x0}+${y0}`,
                                                '-format', '%[fx:255*mean.r]', 'info:']).toString());
    return red > 95 ? '1' : '0';
  }).join('');
}

module.exports = { compare, lampBoxes, lampStates };
