// The browser page end to end, in headless Chromium:
//   failures: no WebGL 2, the archive missing or cut short, a missing or
//   malformed input script, each shown in the page;
//   the show: on the frame clock (15 ms a frame, as a capture runs), the
//   page's frames at fixed numbers against the desktop capture's frames of
//   the same numbers: the boot text, the copier after the boot with its
//   first effect, and a click on MODE aimed through the CRT mapping that
//   opens the mode menu; the sound reaches Web Audio and the console stays
//   free of errors.
// usage: node page_test.js PAGE_DIR DESKTOP_FRAMES_DIR OUT_DIR AIM
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { Browser, serve } = require('./browser.js');
const frames = require('./frames.js');

const [pageDir, desktopDir, outDir, unwarp] = process.argv.slice(2);
const W = 1280, H = 720;
let failed = 0, passed = 0;

function check(ok, what, detail) {
  if (ok) passed++;
  else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
}

async function withPage(server, query, before, body) {
  const b = await Browser.launch(W, H);
  try {
    await b.send('Emulation.setDeviceMetricsOverride', { width: W, height: H, deviceScaleFactor: 1, mobile: false }, null)
      .catch(() => {});
    await b.open(`http://127.0.0.1:${server.port}/${query}`, before);
    await b.send('Emulation.setDeviceMetricsOverride', { width: W, height: H, deviceScaleFactor: 1, mobile: false });
    await body(b);
  } finally {
    await b.close();
  }
}

// The page's failure text once it has failed, or a note that it did not.
async function failure(b, start) {
  await b.until('window.floxa && floxa.phase !== "loading"', 60, 'the page to load');
  if (start && (await b.eval('floxa.phase')) === 'ready') await b.clickOn('#start');
  await b.until('floxa.phase === "failed" || floxa.frames > 0', 120, 'a failure or a frame');
  const shown = await b.eval('document.getElementById("panel").className !== "hidden" && document.getElementById("panel").innerText');
  return (await b.eval('floxa.phase')) === 'failed' ? shown : 'no failure: the show started';
}

// The canvas keeps 16:9 with bars, and draws at 1920x1080 where the
// screen has the pixels.
async function layout(server) {
  const b = await Browser.launch(1000, 800);
  try {
    await b.open(`http://127.0.0.1:${server.port}/`);
    await b.send('Emulation.setDeviceMetricsOverride', { width: 1000, height: 800, deviceScaleFactor: 2, mobile: false });
    await b.until('window.floxa && floxa.phase === "ready"', 60, 'the start screen');
    await b.clickOn('#start');
    await b.until('floxa.frames > 0', 120, 'the first frame');
    const c = await b.eval(`(() => { const c = document.getElementById('screen'), r = c.getBoundingClientRect();
                              return [c.width, c.height, r.left, r.top, r.width, r.height].map(Math.round); })()`);
    check(c.join() === '1920,1080,0,119,1000,563', 'a 1000x800 window at 2 device pixels a pixel: 1920x1080 canvas, ' +
          '1000x563 on the page, bars above and below', c.join());
  } finally {
    await b.close();
  }
}

async function failures(server) {
  const archive = fs.readFileSync(path.join(pageDir, 'floxa.dat'));
  const cases = [
    { name: 'no WebGL 2', expect: /no WebGL 2/,
      before: 'HTMLCanvasElement.prototype.getContext = function () { return null; };' },
    { name: 'archive missing', expect: /floxa\.dat is missing: the server answered 404/,
      routes: { '/floxa.dat': (q, r) => { r.writeHead(404); r.end(); } } },
    { name: 'archive cut short in transfer', expect: /floxa\.dat (arrived cut short|could not be loaded completely)/,
      routes: { '/floxa.dat': (q, r) => {
        r.writeHead(200, { 'Content-Length': archive.length });
        r.end(archive.subarray(0, 1000));
      } } },
    { name: 'archive cut short on the server', expect: /floxa\.dat is damaged or cut short/, start: true,
      routes: { '/floxa.dat': (q, r) => {
        const cut = archive.subarray(0, archive.length >> 1);
        r.writeHead(200, { 'Content-Length': cut.length });
        r.end(cut);
      } } },
    { name: 'script missing', query: '?script=nothere.txt', expect: /input script nothere\.txt is missing/ },
    { name: 'malformed script', query: '?script=bad.txt', start: true,
      expect: /input script was refused: \/input\/bad\.txt:2: /,
      routes: { '/bad.txt': (q, r) => { r.writeHead(200); r.end('f10 move 1 2\nf20 jump\n'); } } },
  ];
  for (const c of cases) {
    server.overrides.clear();
    for (const [p, f] of Object.entries(c.routes || {})) server.overrides.set(p, f);
    await withPage(server, c.query || '', c.before, async (b) => {
      const shown = await failure(b, c.start);
      check(c.expect.test(shown), 'failure shown in the page: ' + c.name, JSON.stringify(shown.slice(0, 200)));
    });
  }
  server.overrides.clear();
}

// Frames held on the frame clock and what is checked at each.
const BOOT_TEXT = 140, KDR_TEXT = 500, COPIER = 900, CLICK = 900, MENU = 905;
// Frames of the copier before the click whose music lamps are read.
const LAMPS = [885, 890, 895, COPIER];
const HELD = [0, BOOT_TEXT, KDR_TEXT, ...LAMPS, MENU];

async function show(server) {
  await withPage(server, '?frameclock', null, async (b) => {
    await b.until('window.floxa && floxa.phase === "ready"', 60, 'the start screen');
    for (const n of HELD) await b.eval(`floxa.holdAt(${n}).then(() => window.held = ${n}), 1`);
    await b.clickOn('#start');
    // The loudest moment reaching Web Audio's output, sampled all along.
    await b.eval('setInterval(() => floxa.audioLevel(), 50), 1');
    const start = Date.now();
    for (const n of HELD) {
      await b.until(`window.held === ${n} || floxa.phase !== 'running'`, 900, 'frame ' + n);
      if ((await b.eval('floxa.phase')) !== 'running') break;
      console.log(`     frame ${n} after ${((Date.now() - start) / 1000).toFixed(0)} s`);
      await b.grab(path.join(outDir, `page-${n}.png`));
      if (n === CLICK) {
        // Frame CLICK + 1 reads the pointer with the camera of its own CRT pass.
        const [x, y] = execFileSync(unwarp, ['--frame', String(CLICK + 1), path.join(outDir, `page-${n}.png`), '28', '49'])
          .toString().trim().split(' ').map(Number);
        const box = await b.eval('(() => { const r = document.getElementById("screen").getBoundingClientRect(); return [r.left, r.top]; })()');
        await b.click(box[0] + x + 0.5, box[1] + y + 0.5);
      }
      await b.eval('floxa.release()');
    }
    const audio = await b.eval('floxa.audio');
    await b.screenshot(path.join(outDir, 'page-screenshot.png'));
    // Escape ends the show; the page says so and offers to start again.
    await b.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
    const ended = await b.until('floxa.phase !== "running" && document.getElementById("panel").innerText', 120, 'the end');
    await b.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
    check(/The show has ended[^]*start again/.test(ended), 'Escape ends the show and the page says so', JSON.stringify(ended));
    check((await b.eval('floxa.frames')) > MENU, 'the show ran to frame ' + MENU, 'phase ' + (await b.eval('floxa.phase')));
    check(audio.contextState === 'running' && audio.blocks > 20 && audio.peak > 0.05,
          'sound plays', `context ${audio.contextState}, ${audio.blocks} blocks mixed, loudest ${audio.peak.toFixed(3)}`);
    const errors = b.errors();
    check(errors.length === 0, 'no console error', errors.map((e) => e.text).join(' | '));
  });

  for (const [n, what] of [[BOOT_TEXT, 'the boot text LOADING...'], [KDR_TEXT, 'the boot text KDR 2019'],
                           [COPIER, 'the copier after the boot, first effect running'],
                           [MENU, 'the mode menu opened by a click through the CRT mapping']]) {
    const page = path.join(outDir, `page-${n}.png`), desk = path.join(desktopDir, `frame-${String(n).padStart(5, '0')}.png`);
    if (!fs.existsSync(page)) { check(false, 'frame ' + n + ': ' + what, 'no page frame'); continue; }
    const r = frames.compare(page, desk, n >= COPIER ? frames.lampBoxes(unwarp, page, n) : [], path.join(outDir, `diff-${n}.png`));
    check(r.ok, `frame ${n} as on the desktop: ${what}`, r.detail);
  }
  // The lamps flash with the music the page mixes: some lit, not always the same.
  const states = LAMPS.filter((n) => fs.existsSync(path.join(outDir, `page-${n}.png`)))
    .map((n) => frames.lampStates(unwarp, path.join(outDir, `page-${n}.png`), n));
  check(states.length === LAMPS.length && states.some((s) => s.includes('1')) && new Set(states).size > 1,
        'the music lamps follow the music', `lamps at frames ${LAMPS.join(', ')}: ${states.join(' ')}`);
  // The copier's frames differ from each other where the menu opened.
  const menu = frames.compare(path.join(outDir, `page-${COPIER}.png`), path.join(outDir, `page-${MENU}.png`),
                              [], path.join(outDir, 'diff-menu.png'));
  check(!menu.ok, 'the click changed the screen', menu.detail);
}

(async () => {
  fs.mkdirSync(outDir, { recursive: true });
  const server = await serve(path.resolve(pageDir));
  try {
    if (!process.env.WEB_SKIP_FAILURES) {
      await failures(server);
      await layout(server);
    }
    await show(server);
  } finally {
    await server.close();
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
