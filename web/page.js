// The page around the show: loads the archive (and a script, ?script=FILE)
// while the start screen waits for its click, makes the audio context on
// that click (browsers start sound only after a gesture), then starts the
// program. The program reaches the page through Module.floxaPage: failures,
// the canvas size, frame pacing and Web Audio. window.floxa holds what the
// browser tests read.
'use strict';
(function () {
  const ARCHIVE = 'floxa.dat';
  const FRAME_MS = 15;            // the show's frame slot
  const params = new URLSearchParams(location.search);
  const frameClock = params.has('frameclock');
  const scriptName = params.get('script');
  const $ = (id) => document.getElementById(id);
  const canvas = $('screen'), panel = $('panel'), status = $('status'), startButton = $('start');

  const state = {
    phase: 'loading',             // loading, ready, running, ended, failed
    frames: 0,                    // frames presented
    message: '',
    log: [],                      // the program's last output lines
    audio: { blocks: 0, peak: 0, contextState: 'none' },
  };
  window.floxa = state;

  function keep(line) {
    state.log.push(line);
    if (state.log.length > 40) state.log.shift();
  }

  function showPanel(title, text, failed, detail) {
    panel.className = failed ? 'failed' : '';
    panel.innerHTML = '';
    const h = document.createElement('h1');
    h.textContent = title;
    const p = document.createElement('p');
    p.textContent = text;
    panel.append(h, p);
    if (detail) {
      const pre = document.createElement('pre');
      pre.textContent = detail;
      panel.append(pre);
    }
    const again = document.createElement('button');
    again.textContent = failed ? 'try again' : 'start again';
    again.onclick = () => location.reload();
    panel.append(again);
  }

  function fail(text) {
    if (state.phase === 'failed') return;
    state.phase = 'failed';
    state.message = text;
    console.warn('FLOXA: ' + text);
    showPanel('FLOXA cannot run', text, true);
  }

  // ---- frame pacing ----
  // One display frame at least per program frame, more on displays faster
  // than the 15 ms slot: the show's clock, not the display, sets its speed.
  let lastFrame = 0, lastTick = 0, period = 1000 / 60, interval = 1000 / 60;
  let holds = new Map(), heldFrame = -1, releaseHold = null;

  function nextFrame(frame) {
    state.frames = frame + 1;
    const hold = holds.get(frame);
    const held = hold ? new Promise((resolve) => {
      holds.delete(frame);
      heldFrame = frame;
      releaseHold = resolve;
      hold(frame);
    }) : Promise.resolve();
    return held.then(() => new Promise((resolve) => {
      function tick(t) {
        if (lastTick) period = 0.9 * period + 0.1 * Math.min(t - lastTick, 100);
        lastTick = t;
        if (frameClock || t >= lastFrame + FRAME_MS - period / 2) {
          if (lastFrame) interval = 0.9 * interval + 0.1 * Math.min(t - lastFrame, 1000);
          lastFrame = t;
          resolve();
        } else {
          requestAnimationFrame(tick);
        }
      }
      requestAnimationFrame(tick);
    }));
  }

  // Tests: the program stops after presenting frame n until release().
  state.holdAt = (n) => new Promise((resolve) => holds.set(n, resolve));
  state.release = () => {
    const r = releaseHold;
    releaseHold = null;
    heldFrame = -1;
    if (r) r();
  };
  state.grab = () => canvas.toDataURL('image/png');

  // ---- Web Audio ----
  let audio = null, rate = 44100, playAt = 0, analyser = null;

  function audioOpen(r) {
    if (!audio) return false;
    rate = r;
    analyser = audio.createAnalyser();
    analyser.fftSize = 2048;
    analyser.connect(audio.destination);
    playAt = 0;
    return true;
  }

  // Enough sound queued to cover the next few frames, however slow they are.
  function audioWants() {
    if (!audio || !analyser) return false;
    const lead = Math.min(1.0, Math.max(0.15, 3 * interval / 1000));
    return playAt - audio.currentTime < lead;
  }

  function audioPlay(samples, frames, channels) {
    const buffer = audio.createBuffer(channels, frames, rate);
    for (let c = 0; c < channels; c++) {
      const out = buffer.getChannelData(c);
      for (let i = 0; i < frames; i++) out[i] = samples[i * channels + c] / 32768;
    }
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(analyser);
    // A late block starts a little ahead rather than in the past.
    playAt = Math.max(playAt, audio.currentTime + 0.03);
    source.start(playAt);
    playAt += frames / rate;
    state.audio.blocks++;
  }

  function audioClose() {
    if (analyser) analyser.disconnect();
    analyser = null;
  }

  // The loudest sample reaching the speakers now (tests and the curious).
  state.audioLevel = () => {
    if (!analyser) return 0;
    const data = new Float32Array(analyser.fftSize);
    analyser.getFloatTimeDomainData(data);
    let peak = 0;
    for (const v of data) peak = Math.max(peak, Math.abs(v));
    state.audio.peak = Math.max(state.audio.peak, peak);
    state.audio.contextState = audio ? audio.state : 'none';
    return peak;
  };

  // ---- the canvas ----
  // 1920x1080 (the size the show composes in) where the canvas covers more
  // than 1280 device pixels across, so it stays sharp on dense screens.
  function canvasSize() {
    if (frameClock) return [1280, 720];
    const box = canvas.getBoundingClientRect();
    return box.width * (window.devicePixelRatio || 1) > 1300 ? [1920, 1080] : [1280, 720];
  }

  canvas.addEventListener('contextmenu', (e) => e.preventDefault());
  $('fullscreen').onclick = () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else $('stage').requestFullscreen().catch(() => {});
    canvas.focus();
  };

  // ---- loading and start ----
  let archive = null, script = null;

  async function fetchBytes(url, what) {
    let response, bytes;
    try {
      response = await fetch(url, { cache: 'no-cache' });
      if (response.ok) bytes = new Uint8Array(await response.arrayBuffer());
    } catch (e) {
      throw new Error(what + ' could not be loaded completely (' + e.message +
                      '): the connection broke off or the server is down.');
    }
    if (!response.ok)
      throw new Error(what + ' is missing: the server answered ' + response.status + ' for ' + url + '.');
    const length = Number(response.headers.get('Content-Length'));
    if (length && bytes.length < length)
      throw new Error(what + ' arrived cut short (' + bytes.length + ' of ' + length + ' bytes).');
    return bytes;
  }

  async function load() {
    const probe = document.createElement('canvas').getContext('webgl2');
    if (!probe) {
      fail('This browser offers no WebGL 2, which FLOXA needs to draw. A current Firefox, Chrome, ' +
           'Edge or Safari with hardware acceleration switched on has it.');
      return;
    }
    try {
      archive = await fetchBytes(ARCHIVE, 'The show\'s data file ' + ARCHIVE);
      if (scriptName) script = await fetchBytes(scriptName, 'The input script ' + scriptName);
    } catch (e) {
      fail(e.message);
      return;
    }
    state.phase = 'ready';
    status.textContent = scriptName ? 'Ready, with the input script ' + scriptName + '.' : 'Ready.';
    startButton.disabled = false;
    startButton.focus();
  }

  // The program's end: QUIT or Escape (0), or a failure it reported.
  function ended(code) {
    if (audio && audio.state !== 'closed') audio.close();
    if (state.phase !== 'running') return;
    state.phase = 'ended';
    if (document.fullscreenElement) document.exitFullscreen();
    if (code === 0) showPanel('FLOXA', 'The show has ended. Thank you for watching.', false);
    else fail('The show stopped with status ' + code + '.');
  }

  function start() {
    if (state.phase !== 'ready') return;
    state.phase = 'running';
    const AudioContext = window.AudioContext || window.webkitAudioContext;
    if (AudioContext) {
      audio = new AudioContext();
      audio.resume();
    }
    panel.classList.add('hidden');
    canvas.focus();
    const args = [];
    if (script) args.push('--script', '/input/' + scriptName.replace(/^.*\//, ''));
    window.Module = {
      canvas: canvas,
      noInitialRun: true,
      print: (line) => { keep(line); console.log(line); },
      printErr: (line) => { keep(line); console.warn(line); },
      floxaPage: { fail, canvasSize, frameClock: () => frameClock, nextFrame,
                   showCursor: (show) => { canvas.style.cursor = show ? 'default' : 'none'; },
                   audioOpen, audioWants, audioPlay, audioClose, ended },
      preRun: [() => {
        FS.writeFile('/' + ARCHIVE, archive);
        if (script) {
          FS.mkdir('/input');
          FS.writeFile(args[1], script);
        }
        archive = null;
      }],
      onRuntimeInitialized: () => Module.callMain(args),
      onExit: ended,
      onAbort: (what) => {
        state.phase = 'running';
        showPanel('FLOXA stopped', 'The show stopped unexpectedly: ' + what, true, state.log.join('\n'));
        state.phase = 'failed';
      },
    };
    const tag = document.createElement('script');
    tag.src = 'floxa.js';
    tag.onerror = () => fail('The program floxa.js is missing beside index.html.');
    document.body.append(tag);
  }

  startButton.onclick = start;
  load();
})();
