// Frames a second of the page in headless Chromium: the time between two
// presented frames, on the real clock. usage: node web_fps.js PAGE_DIR FIRST LAST
'use strict';
const path = require('path');
const { Browser, serve } = require('../tests/web/browser.js');

(async () => {
  const [dir, first, last] = [process.argv[2], Number(process.argv[3]), Number(process.argv[4])];
  const server = await serve(path.resolve(dir));
  const b = await Browser.launch(1280, 720);
  try {
    await b.open(`http://127.0.0.1:${server.port}/`);
    await b.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 720, deviceScaleFactor: 1, mobile: false });
    await b.until('window.floxa && floxa.phase === "ready"', 60, 'the start screen');
    await b.eval(`[${first}, ${last}].forEach((n) => floxa.holdAt(n).then(() => { window['t' + n] = performance.now(); floxa.release(); })), 1`);
    await b.clickOn('#start');
    await b.until(`window.t${last}`, 1800, 'frame ' + last);
    const ms = await b.eval(`t${last} - t${first}`);
    console.log(((last - first) / (ms / 1000)).toFixed(2));
  } finally {
    await b.close();
    await server.close();
  }
})().catch((e) => { console.error(e); process.exit(1); });
