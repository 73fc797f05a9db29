// Headless Chromium driven over the DevTools protocol, and a static server
// for the page on 127.0.0.1 whose answers a test can change (a missing or
// cut-short file). One browser at a time; everything ends with close().
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const WebSocket = require('ws');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
                '.png': 'image/png', '.txt': 'text/plain' };

// Serves dir; overrides maps a path to a function (request, response) that
// answers instead. Resolves to { port, overrides, close }.
function serve(dir) {
  const overrides = new Map();
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://127.0.0.1');
    const name = decodeURIComponent(url.pathname);
    if (overrides.has(name)) return overrides.get(name)(req, res);
    const file = path.join(dir, name === '/' ? 'index.html' : name);
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain' });
      return res.end('not found');
    }
    const body = fs.readFileSync(file);
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                         'Content-Length': body.length });
    res.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    port: server.address().port, overrides, close: () => new Promise((r) => server.close(r)),
  })));
}

class Browser {
  static async launch(width, height) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'floxa-chromium-'));
    const proc = spawn('chromium', [
      '--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--remote-debugging-port=0', '--no-first-run',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows', `--user-data-dir=${profile}`,
      `--window-size=${width},${height}`, 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe'] });
    const endpoint = await new Promise((resolve, reject) => {
      let text = '';
      const timer = setTimeout(() => reject(new Error('chromium did not start: ' + text)), 30000);
      proc.stderr.on('data', (d) => {
        text += d;
        const m = text.match(/DevTools listening on (ws:\/\/\S+)/);
        if (m) { clearTimeout(timer); resolve(m[1]); }
      });
      proc.on('exit', (code) => reject(new Error('chromium ended with ' + code + ': ' + text)));
    });
    const b = new Browser(proc, profile, new WebSocket(endpoint));
    await new Promise((resolve, reject) => { b.ws.on('open', resolve); b.ws.on('error', reject); });
    return b;
  }

  constructor(proc, profile, ws) {
    Object.assign(this, { proc, profile, ws, id: 0, pending: new Map(), session: null, console: [] });
    ws.on('message', (data) => this.receive(JSON.parse(data)));
  }

  receive(msg) {
    if (msg.id && this.pending.has(msg.id)) {
      const { resolve, reject } = this.pending.get(msg.id);
      this.pending.delete(msg.id);
      return msg.error ? reject(new Error(JSON.stringify(msg.error))) : resolve(msg.result);
    }
    const p = msg.params || {};
    if (msg.method === 'Runtime.consoleAPICalled')
      this.console.push({ level: p.type, text: p.args.map((a) => a.value !== undefined ? a.value : a.description).join(' ') });
    else if (msg.method === 'Runtime.exceptionThrown')
      this.console.push({ level: 'error', text: 'exception: ' + (p.exceptionDetails.exception || {}).description });
    else if (msg.method === 'Log.entryAdded')
      this.console.push({ level: p.entry.level, text: p.entry.text + ' ' + (p.entry.url || '') });
  }

  send(method, params = {}, session = this.session) {
    const id = ++this.id;
    const msg = { id, method, params };
    if (session) msg.sessionId = session;
    this.ws.send(JSON.stringify(msg));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  // A fresh page; before is page script run ahead of the page's own.
  async open(url, before) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' }, null);
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true }, null);
    this.session = sessionId;
    this.console = [];
    await this.send('Runtime.enable');
    await this.send('Log.enable');
    await this.send('Page.enable');
    if (before) await this.send('Page.addScriptToEvaluateOnNewDocument', { source: before });
    await this.send('Page.navigate', { url });
  }

  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error('page: ' + JSON.stringify(r.exceptionDetails));
    return r.result.value;
  }

  // Polls expression until it is truthy; throws after seconds.
  async until(expression, seconds, what) {
    const end = Date.now() + seconds * 1000;
    for (;;) {
      const v = await this.eval(expression);
      if (v) return v;
      if (Date.now() > end) throw new Error('timed out waiting for ' + (what || expression));
      await new Promise((r) => setTimeout(r, 250));
    }
  }

  async mouse(type, x, y) {
    await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1,
                                                  buttons: type === 'mousePressed' ? 1 : 0 });
  }

  async click(x, y) {
    await this.mouse('mouseMoved', x, y);
    await this.mouse('mousePressed', x, y);
    await this.mouse('mouseReleased', x, y);
  }

  // Clicks the middle of the element that selector finds.
  async clickOn(selector) {
    const box = await this.eval(`(() => { const r = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
                                   return [r.left + r.width / 2, r.top + r.height / 2]; })()`);
    await this.click(box[0], box[1]);
  }

  async screenshot(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }

  // The canvas's own pixels (the page keeps them on the frame clock).
  async grab(file) {
    const url = await this.eval('floxa.grab()');
    fs.writeFileSync(file, Buffer.from(url.replace(/^data:image\/png;base64,/, ''), 'base64'));
  }

  errors() {
    return this.console.filter((c) => c.level === 'error');
  }

  async close() {
    try { this.ws.close(); } catch (e) { /* already gone */ }
    this.proc.kill('SIGKILL');
    await new Promise((r) => (this.proc.exitCode !== null ? r() : this.proc.on('exit', r)));
    // Its helper processes may still be writing the profile for a moment.
    try { fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 }); } catch (e) { /* left in tmp */ }
  }
}

module.exports = { Browser, serve };
