// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures of `make web-check`: what the browser drew (PNG, as tools/web/cdp.mjs takes it) set
// beside the desktop's reference of the same scene (binary PPM, tests/golden), and how much of a
// picture is the black the frame is cleared to (wireframe leaves most of it so).
//
//   node tools/web/pictures.mjs compare REFERENCE.ppm DRAWN.png [MAX_BLOCKS]
//   node tools/web/pictures.mjs dark PICTURE.png
//
// compare:
// The browser draws with another renderer (SwiftShader, not Mesa's llvmpipe): the same triangles,
// textures and shaders, but its own sample positions for the four samples of a pixel, its own
// rounding in texture filtering and its own rules for which pixels a one-pixel line covers. Those
// move single pixels along every edge and line, never the picture: so the pictures are compared in
// blocks of 4 x 4 pixels, each block's mean colour, and a block counts as changed when one channel of
// its mean is more than BLOCK_TOLERANCE levels away. A missing texture, a wrong colour, a side lit
// differently, a text or figure missing or moved changes whole blocks and fails. The scene passes
// while at most MAX_BLOCKS of its blocks have changed (default: 1 %).
//
// Prints one line, "SCENE: N of M blocks changed (largest difference L levels)", and exits 0 when
// the scene passes, 1 when it does not, 2 on a usage error or a picture it cannot read.
//
// dark: prints the percentage of the picture's pixels whose channels are all below 16 levels.
import { readFileSync } from 'node:fs';
import { inflateSync } from 'node:zlib';
import { basename } from 'node:path';

const BLOCK = 4;
const BLOCK_TOLERANCE = 12;

function fail(message) {
  console.error(`compare: ${message}`);
  process.exit(2);
}

// A binary PPM (P6, 8 bits): { width, height, rgb }.
function readPpm(path) {
  const bytes = readFileSync(path);
  const header = bytes.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) fail(`${path} is not a binary PPM with 8-bit channels`);
  const width = Number(header[1]);
  const height = Number(header[2]);
  const rgb = bytes.subarray(header[0].length, header[0].length + width * height * 3);
  if (rgb.length !== width * height * 3) fail(`${path} is cut short`);
  return { width, height, rgb };
}

// A PNG of 8-bit RGB or RGBA, not interlaced (what Chromium writes): { width, height, rgb }.
function readPng(path) {
  const bytes = readFileSync(path);
  if (bytes.readUInt32BE(0) !== 0x89504e47) fail(`${path} is not a PNG`);
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const depth = body[8];
      channels = { 2: 3, 6: 4 }[body[9]];
      if (depth !== 8 || !channels || body[12] !== 0) fail(`${path}: only 8-bit RGB or RGBA, not interlaced`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(height * stride);
  // Undo each row's filter (none, sub, up, average, Paeth).
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = a;
      else if (filter === 2) predicted = b;
      else if (filter === 3) predicted = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + x] = (line[x] + predicted) & 255;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0; i < width * height; ++i)
    for (let k = 0; k < 3; ++k) rgb[3 * i + k] = rows[channels * i + k];
  return { width, height, rgb };
}

// Each block's mean channels.
function blockMeans(picture) {
  const across = Math.floor(picture.width / BLOCK);
  const down = Math.floor(picture.height / BLOCK);
  const means = new Float64Array(across * down * 3);
  for (let y = 0; y < down * BLOCK; ++y)
    for (let x = 0; x < across * BLOCK; ++x)
      for (let k = 0; k < 3; ++k)
        means[3 * (Math.floor(y / BLOCK) * across + Math.floor(x / BLOCK)) + k] +=
          picture.rgb[3 * (y * picture.width + x) + k] / (BLOCK * BLOCK);
  return means;
}

const USAGE = 'usage: node tools/web/pictures.mjs compare REFERENCE.ppm DRAWN.png [MAX_BLOCKS] | dark PICTURE.png';

function compare(referencePath, drawnPath, maxArgument) {
  if (!referencePath || !drawnPath) fail(USAGE);
  const reference = readPpm(referencePath);
  const drawn = readPng(drawnPath);
  if (reference.width !== drawn.width || reference.height !== drawn.height)
    fail(`${drawnPath} is ${drawn.width} x ${drawn.height}, the reference ${reference.width} x ${reference.height}`);
  const expected = blockMeans(reference);
  const got = blockMeans(drawn);
  const blocks = expected.length / 3;
  const maxBlocks = maxArgument === undefined ? Math.floor(blocks / 100) : Number(maxArgument);
  let changed = 0;
  let largest = 0;
  for (let i = 0; i < blocks; ++i) {
    let worst = 0;
    for (let k = 0; k < 3; ++k) worst = Math.max(worst, Math.abs(expected[3 * i + k] - got[3 * i + k]));
    largest = Math.max(largest, worst);
    if (worst > BLOCK_TOLERANCE) ++changed;
  }
  const scene = basename(referencePath, '.ppm');
  console.log(`${scene}: ${changed} of ${blocks} blocks changed (largest difference ${Math.round(largest)} levels)`);
  return changed <= maxBlocks ? 0 : 1;
}

function dark(path) {
  if (!path) fail(USAGE);
  const picture = readPng(path);
  let count = 0;
  for (let i = 0; i < picture.width * picture.height; ++i)
    if (picture.rgb[3 * i] < 16 && picture.rgb[3 * i + 1] < 16 && picture.rgb[3 * i + 2] < 16) ++count;
  console.log((100 * count / (picture.width * picture.height)).toFixed(1));
  return 0;
}

const [command, ...rest] = process.argv.slice(2);
if (command === 'compare') process.exit(compare(...rest));
else if (command === 'dark') process.exit(dark(...rest));
else fail(USAGE);
