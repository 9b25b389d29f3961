// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page around the game: loads glacimor.js with its .wasm and .data, says how far the loading
// has come, lets the first click take the pointer and start the sound, and says when the game has
// ended or could not start. The game itself is SDL's on the canvas: keys, mouse, wheel and game
// controllers reach it there.
'use strict';

const canvas = document.getElementById('canvas');
const notice = document.getElementById('notice');
const statusLine = document.getElementById('status');
const hint = document.getElementById('hint');
const progress = document.getElementById('progress');

// What the page is at, for a person's console and for the checks that drive it: 'loading',
// 'playing' (the game's frames run), 'ended' (by the player), 'failed' (with `why`).
const page = { state: 'loading', loaded: 0, total: 0, why: '' };
window.glacimorPage = page;

function say(status, more, showProgress) {
  statusLine.textContent = status;
  hint.textContent = more || '';
  progress.hidden = !showProgress;
  notice.hidden = false;
}

function fail(status, why) {
  if (page.state === 'failed' || page.state === 'ended') return;
  page.state = 'failed';
  page.why = why || '';
  canvas.hidden = true;
  say(status, page.why + (page.why ? ' ' : '') + 'Reload the page to try again.', false);
}

// The game's last words on standard error: what to show when it cannot start.
let lastError = '';

function megabytes(bytes) { return (bytes / 1048576).toFixed(1); }

// The function keys are the game's settings: the browser's own (help, reload, full screen) must
// not take them while the game is there to take them, loading included. SDL takes them in play.
window.addEventListener('keydown', (event) => {
  if (page.state !== 'ended' && page.state !== 'failed' && /^F([1-9]|1[0-2])$/.test(event.key))
    event.preventDefault();
}, true);
canvas.addEventListener('contextmenu', (event) => event.preventDefault());

// A browser starts sound only after a gesture of the player's: each click or key tries once more,
// should the first have come before the game opened its sound.
function wakeSound() {
  const audio = window.Module && Module.SDL2 && Module.SDL2.audioContext;
  if (audio && audio.state === 'suspended') audio.resume();
}
for (const type of ['mousedown', 'keydown', 'touchstart'])
  document.addEventListener(type, () => {
    wakeSound();
    if (page.state === 'playing') notice.hidden = true;
  }, true);

function webglOffered() {
  try {
    const probe = document.createElement('canvas');
    return !!(probe.getContext('webgl') || probe.getContext('experimental-webgl'));
  } catch (error) {
    return false;
  }
}

window.Module = {
  canvas,
  print: (text) => console.log(text),
  printErr: (text) => {
    console.warn(text);
    if (text.startsWith('glacimor: ')) lastError = text.slice('glacimor: '.length);
  },
  // emscripten's words on the loading: "Downloading data... (loaded/total)", then "Running...",
  // then nothing once main has run.
  setStatus: (text) => {
    const bytes = /\((\d+)\/(\d+)\)/.exec(text);
    if (bytes) {
      page.loaded = Number(bytes[1]);
      page.total = Number(bytes[2]);
      progress.firstElementChild.style.width = `${(100 * page.loaded / Math.max(page.total, 1)).toFixed(1)}%`;
      say('Loading', `${megabytes(page.loaded)} of ${megabytes(page.total)} MB`, true);
    } else if (text === 'Running...') {
      say('Starting', '', false);
    }
  },
  // The game is up and its frames begin (platform/GM_Main.cpp).
  gameStarted: () => {
    page.state = 'playing';
    // The notice stays until the first click or key, which reach the game through it.
    notice.style.pointerEvents = 'none';
    say('Click to play', 'Mouse: turn. W A S D: walk. Wheel: the camera. F1 to F9: settings. ' +
      'Escape frees the mouse; Escape again ends the game.', false);
  },
  // The player ended the game (platform/GM_Main.cpp): the frames have stopped and the sound too.
  gameEnded: () => {
    page.state = 'ended';
    canvas.hidden = true;
    notice.style.pointerEvents = '';
    say('The game has ended.', 'Reload the page to play again.', false);
  },
  // After main: a game that came up has started its frames by now; one that did not has said why
  // on standard error and ended.
  postRun: [() => {
    if (page.state === 'loading') fail('Glacimor could not start.', lastError);
  }],
  onAbort: (what) => fail('Glacimor stopped with an error.', lastError || String(what || '')),
};

// An error nobody caught has stopped the game's frames.
window.addEventListener('error', (event) => fail('Glacimor stopped with an error.', lastError || event.message));

if (!webglOffered()) {
  fail('This browser offers no WebGL.', 'Glacimor needs WebGL 1 to draw: switch it on, or use another browser.');
} else {
  say('Loading', '', true);
  const script = document.createElement('script');
  script.src = 'glacimor.js';
  script.onerror = () => fail('Glacimor could not be loaded.', 'glacimor.js is not where the page is.');
  document.body.appendChild(script);
}
