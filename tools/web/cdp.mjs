// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Drives Debian's headless Chromium through its DevTools protocol, for the checks of the browser
// build: open a page served on this machine, wait for what it shows, press keys, click, take
// pictures. Plain Node.js, no packages: the protocol goes over the pipe Chromium opens with
// --remote-debugging-pipe (JSON messages separated by a NUL byte; Chromium reads fd 3 and
// writes fd 4), so no websocket library is needed.
//
//   node tools/web/cdp.mjs [OPTION...] URL STEP...
//
// Options:
//   --size WxH         the window's size in CSS pixels (default 800x600)
//   --profile DIR      the browser's profile folder, made afresh (default: a new one in /tmp)
//   --log FILE         the page's console and errors, one line each (default: standard error)
//   --chromium PATH    the browser (default /usr/lib/chromium/chromium, Debian's)
//   --load SECONDS     how long the page may take to load (default 60)
//
// Steps, run in order once the page has loaded; the first that fails ends the run with status 1
// and a line on standard error that says which step and why:
//   wait:SECONDS:EXPR      until the JavaScript expression EXPR is true in the page, at most SECONDS
//   eval:EXPR              prints the value of EXPR (JSON) on standard output
//   key:NAME               presses and releases a key: a letter or digit, F1..F12, Escape, Enter,
//                          Space, Tab, Up, Down, Left, Right
//   down:NAME, up:NAME     presses or releases a key alone (walking is a key held down)
//   click:X:Y              a left click at X, Y (CSS pixels of the page)
//   wheel:X:Y:DY           the wheel turned by DY (CSS pixels, positive is towards the player)
//   shot:FILE              a PNG of the page as shown
//   canvas:SELECTOR:FILE   a PNG of the pixels the canvas SELECTOR shows, as composited on the page
//   sleep:MS               waits MS milliseconds: only to pace input, never to wait for a state
//
// The exit status is 0 when every step passed, 1 when one failed, 2 on a usage error. With
// CDP_TRACE=1 in the environment, each step's time goes to standard error.

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync, appendFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

function usage(message) {
  process.stderr.write(`cdp: ${message}\nusage: node tools/web/cdp.mjs [--size WxH] [--profile DIR] ` +
    `[--log FILE] [--chromium PATH] [--load SECONDS] URL STEP...\n`);
  process.exit(2);
}

const args = process.argv.slice(2);
const opts = { size: '800x600', profile: '', log: '', chromium: '/usr/lib/chromium/chromium', load: 60 };
while (args.length && args[0].startsWith('--')) {
  const name = args.shift().slice(2);
  if (!(name in opts) || !args.length) usage(`unknown option --${name} or no value`);
  opts[name] = args.shift();
}
const url = args.shift();
if (!url) usage('no URL');
const steps = args;
const size = /^(\d+)x(\d+)$/.exec(opts.size);
if (!size) usage(`--size ${opts.size} is not WxH`);
const [width, height] = [Number(size[1]), Number(size[2])];

// --- The keys: what a real keyboard sends for each, as the page's key events see it -------------
function keyOf(name) {
  const named = {
    Escape: ['Escape', 'Escape', 27], Enter: ['Enter', 'Enter', 13, '\r'], Space: [' ', 'Space', 32, ' '],
    Tab: ['Tab', 'Tab', 9], Up: ['ArrowUp', 'ArrowUp', 38], Down: ['ArrowDown', 'ArrowDown', 40],
    Left: ['ArrowLeft', 'ArrowLeft', 37], Right: ['ArrowRight', 'ArrowRight', 39],
  };
  if (named[name]) {
    const [key, code, keyCode, text] = named[name];
    return { key, code, keyCode, text };
  }
  const f = /^F([1-9]|1[0-2])$/.exec(name);
  if (f) return { key: name, code: name, keyCode: 111 + Number(f[1]) };
  if (/^[a-z]$/i.test(name)) {
    const lower = name.toLowerCase();
    return { key: lower, code: `Key${lower.toUpperCase()}`, keyCode: lower.toUpperCase().charCodeAt(0), text: lower };
  }
  if (/^[0-9]$/.test(name)) return { key: name, code: `Digit${name}`, keyCode: name.charCodeAt(0), text: name };
  return null;
}

// --- The browser and its pipe -------------------------------------------------------------------
const profile = opts.profile || mkdtempSync(join(tmpdir(), 'glacimor-cdp-'));
if (opts.profile) {
  rmSync(profile, { recursive: true, force: true });
  mkdirSync(profile, { recursive: true });
}
const logLine = opts.log
  ? (line) => appendFileSync(opts.log, line + '\n')
  : (line) => process.stderr.write(line + '\n');
if (opts.log) writeFileSync(opts.log, '');

// Headless, without a sandbox (the checks run as root), without a GPU: WebGL is drawn by
// SwiftShader, Chromium's processor renderer, which it offers for WebGL only when asked. Nothing
// is fetched from outside: no updates, no sync, no QUIC, no first-run pages, a fresh profile, and
// no name resolves but this machine's own address.
const browser = spawn(opts.chromium, [
  '--headless', '--no-sandbox', '--disable-gpu', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-dev-shm-usage', '--disable-quic', '--no-first-run', '--no-default-browser-check',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1', '--disable-extensions', '--disable-default-apps', '--mute-audio', '--autoplay-policy=no-user-gesture-required',
  `--window-size=${width},${height}`, `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
let browserErr = '';
// What the browser says, kept for a failure to load, without its complaints about D-Bus, which a
// headless browser has no use for.
browser.stderr.on('data', (d) => {
  const lines = String(d).split('\n').filter((line) => line && !line.includes(':ERROR:dbus/'));
  browserErr = (browserErr + lines.map((line) => line + '\n').join('')).slice(-4000);
});
const toBrowser = browser.stdio[3];
const fromBrowser = browser.stdio[4];

let nextId = 1;
const pending = new Map();
const listeners = [];
let buffered = Buffer.alloc(0);
fromBrowser.on('data', (chunk) => {
  buffered = Buffer.concat([buffered, chunk]);
  let end;
  while ((end = buffered.indexOf(0)) >= 0) {
    const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
    buffered = buffered.subarray(end + 1);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject, method } = pending.get(message.id);
      pending.delete(message.id);
      if (message.error) reject(new Error(`${method}: ${message.error.message}`));
      else resolve(message.result);
    } else if (message.method) {
      for (const listener of listeners) listener(message);
    }
  }
});
let browserGone = false;
browser.on('exit', (code, signal) => {
  browserGone = true;
  for (const { reject } of pending.values()) reject(new Error(`the browser ended (${signal || code})`));
  pending.clear();
});

function send(method, params = {}, sessionId = undefined) {
  if (browserGone) return Promise.reject(new Error('the browser has ended'));
  const id = nextId++;
  const message = { id, method, params };
  if (sessionId) message.sessionId = sessionId;
  toBrowser.write(JSON.stringify(message) + '\0');
  return new Promise((resolve, reject) => pending.set(id, { resolve, reject, method }));
}

function withDeadline(promise, ms, what) {
  let timer;
  return Promise.race([
    promise,
    new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(`${what}: no answer within ${ms} ms`)), ms); }),
  ]).finally(() => clearTimeout(timer));
}

// --- The page ----------------------------------------------------------------------------------
let session;
const page = (method, params) => withDeadline(send(method, params, session), 30000, method);

async function evaluate(expression) {
  const result = await page('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
  if (result.exceptionDetails) {
    const e = result.exceptionDetails;
    throw new Error(`${expression}: ${e.exception?.description || e.text}`);
  }
  return result.result.value;
}

async function openPage() {
  // The page the browser starts with is the one under test.
  const { targetInfos } = await withDeadline(send('Target.getTargets'), 30000, 'getTargets');
  const first = targetInfos.find((t) => t.type === 'page');
  const { targetId } = first || await withDeadline(send('Target.createTarget', { url: 'about:blank' }), 30000, 'createTarget');
  // A key the page leaves to the browser can open a page of the browser's own (F1 opens its help),
  // which takes the focus from the page under test: such a page is closed at once, and said.
  listeners.push((m) => {
    const info = m.params?.targetInfo;
    if (m.method !== 'Target.targetCreated' || info.type !== 'page' || info.targetId === targetId) return;
    logLine(`the browser opened ${info.url || 'a page'} of its own (a key the page did not take?): closed`);
    send('Target.closeTarget', { targetId: info.targetId }).catch(() => {});
  });
  await withDeadline(send('Target.setDiscoverTargets', { discover: true }), 30000, 'discover');
  ({ sessionId: session } = await withDeadline(send('Target.attachToTarget', { targetId, flatten: true }), 30000, 'attach'));
  listeners.push((m) => {
    if (m.sessionId !== session) return;
    if (m.method === 'Runtime.consoleAPICalled') {
      logLine(`console.${m.params.type}: ${m.params.args.map((a) => a.value ?? a.description ?? '').join(' ')}`);
    } else if (m.method === 'Runtime.exceptionThrown') {
      const d = m.params.exceptionDetails;
      logLine(`exception: ${d.exception?.description || d.text}`);
    }
  });
  await page('Page.enable');
  await page('Runtime.enable');
  await page('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
  const loaded = new Promise((resolve) => listeners.push((m) => {
    if (m.sessionId === session && m.method === 'Page.loadEventFired') resolve();
  }));
  const navigation = await page('Page.navigate', { url });
  if (navigation.errorText) throw new Error(`${url}: ${navigation.errorText}`);
  await withDeadline(loaded, opts.load * 1000, `loading ${url}`);
}

// --- The steps ---------------------------------------------------------------------------------
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function sendKey(type, name) {
  const k = keyOf(name);
  if (!k) throw new Error(`no key called ${name}`);
  const common = { key: k.key, code: k.code, windowsVirtualKeyCode: k.keyCode, nativeVirtualKeyCode: k.keyCode };
  if (type === 'down') {
    await page('Input.dispatchKeyEvent', k.text ? { type: 'keyDown', text: k.text, ...common } : { type: 'rawKeyDown', ...common });
  } else {
    await page('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }
}

async function mouse(type, x, y, extra = {}) {
  await page('Input.dispatchMouseEvent', { type, x, y, ...extra });
}

async function savePng(file, clip) {
  const params = { format: 'png', captureBeyondViewport: false };
  if (clip) params.clip = { ...clip, scale: 1 };
  const { data } = await page('Page.captureScreenshot', params);
  writeFileSync(file, Buffer.from(data, 'base64'));
}

async function runStep(step) {
  const [kind, ...rest] = step.split(':');
  switch (kind) {
    case 'wait': {
      const seconds = Number(rest[0]);
      const expression = rest.slice(1).join(':');
      if (!(seconds > 0) || !expression) throw new Error('wants wait:SECONDS:EXPR');
      const deadline = Date.now() + seconds * 1000;
      let last;
      for (;;) {
        try {
          if (await evaluate(`!!(${expression})`)) return;
          last = 'false';
        } catch (e) {
          last = e.message;
        }
        if (Date.now() >= deadline) throw new Error(`not true within ${seconds} s (last: ${last})`);
        await sleep(100);
      }
    }
    case 'eval':
      process.stdout.write(JSON.stringify(await evaluate(rest.join(':'))) + '\n');
      return;
    case 'key':
      await sendKey('down', rest[0]);
      await sendKey('up', rest[0]);
      return;
    case 'down':
    case 'up':
      await sendKey(kind, rest[0]);
      return;
    case 'click': {
      const [x, y] = rest.map(Number);
      await mouse('mouseMoved', x, y);
      await mouse('mousePressed', x, y, { button: 'left', buttons: 1, clickCount: 1 });
      await mouse('mouseReleased', x, y, { button: 'left', buttons: 0, clickCount: 1 });
      return;
    }
    case 'wheel': {
      const [x, y, dy] = rest.map(Number);
      await mouse('mouseWheel', x, y, { deltaX: 0, deltaY: dy });
      return;
    }
    case 'shot':
      await savePng(rest.join(':'));
      return;
    case 'canvas': {
      const [selector, ...file] = rest;
      const box = await evaluate(`(() => { const c = document.querySelector(${JSON.stringify(selector)});
        if (!c) return null; const r = c.getBoundingClientRect();
        return { x: r.left, y: r.top, width: r.width, height: r.height }; })()`);
      if (!box || !box.width || !box.height) throw new Error(`no canvas ${selector} on the page`);
      await savePng(file.join(':'), box);
      return;
    }
    case 'sleep':
      await sleep(Number(rest[0]));
      return;
    default:
      throw new Error('no such step');
  }
}

let status = 0;
try {
  await openPage();
  for (const step of steps) {
    try {
      const began = Date.now();
      await runStep(step);
      if (process.env.CDP_TRACE) process.stderr.write(`cdp: ${step} took ${Date.now() - began} ms\n`);
    } catch (e) {
      process.stderr.write(`cdp: step ${step}: ${e.message}\n`);
      status = 1;
      break;
    }
  }
} catch (e) {
  process.stderr.write(`cdp: ${e.message}\n${browserErr ? `the browser said:\n${browserErr}\n` : ''}`);
  status = 1;
}
// The browser is closed through the protocol, and killed if it does not go within 5 s.
if (!browserGone) {
  const gone = new Promise((resolve) => browser.once('exit', resolve));
  send('Browser.close').catch(() => {});
  const timer = setTimeout(() => browser.kill('SIGKILL'), 5000);
  await gone;
  clearTimeout(timer);
}
if (!opts.profile) rmSync(profile, { recursive: true, force: true });
process.exit(status);
