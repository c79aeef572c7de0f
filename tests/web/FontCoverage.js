// Which characters a WOFF2 font has a glyph for, read from its own character map, so that a
// face's coverage is known exactly rather than guessed from how the browser draws.
'use strict';
const zlib = require('node:zlib');

// The tags that a WOFF2 table directory names by index; the character map is the first.
const kCmapTagIndex = 0;
const kGlyfTagIndex = 10;
const kLocaTagIndex = 11;

function readBase128(bytes, at) {
  let value = 0;
  for (let i = 0; i < 5; ++i) {
    const byte = bytes[at.offset++];
    value = value * 128 + (byte & 0x7f);
    if (!(byte & 0x80)) return value;
  }
  throw new Error('a WOFF2 length runs past five bytes');
}

// The sfnt 'cmap' table out of a WOFF2 file: the tables sit, unpadded and in directory order,
// in one Brotli stream after the directory.
function cmapTable(font) {
  if (font.toString('latin1', 0, 4) !== 'wOF2') throw new Error('not a WOFF2 font');
  const tableCount = font.readUInt16BE(12);
  const at = {offset: 48};
  let cmapStart = -1, cmapLength = 0, streamOffset = 0;
  for (let i = 0; i < tableCount; ++i) {
    const flags = font[at.offset++];
    const tagIndex = flags & 0x3f;
    if (tagIndex === 63) at.offset += 4;
    const version = flags >> 6;
    const length = readBase128(font, at);
    const glyphData = tagIndex === kGlyfTagIndex || tagIndex === kLocaTagIndex;
    const transformed = glyphData ? version !== 3 : version !== 0;
    const stored = transformed ? readBase128(font, at) : length;
    if (tagIndex === kCmapTagIndex) {
      cmapStart = streamOffset;
      cmapLength = stored;
    }
    streamOffset += stored;
  }
  if (cmapStart < 0) throw new Error('the font has no character map');
  const compressedLength = font.readUInt32BE(20);
  const tables = zlib.brotliDecompressSync(font.subarray(at.offset, at.offset + compressedLength));
  return tables.subarray(cmapStart, cmapStart + cmapLength);
}

// Format 4: segments of the Basic Multilingual Plane, glyph 0 meaning none.
function segmentCoverage(cmap, start, covered) {
  const segments = cmap.readUInt16BE(start + 6) / 2;
  const ends = start + 14;
  const starts = ends + 2 * segments + 2;
  const deltas = starts + 2 * segments;
  const rangeOffsets = deltas + 2 * segments;
  for (let s = 0; s < segments; ++s) {
    const first = cmap.readUInt16BE(starts + 2 * s);
    const last = cmap.readUInt16BE(ends + 2 * s);
    const delta = cmap.readInt16BE(deltas + 2 * s);
    const rangeOffset = cmap.readUInt16BE(rangeOffsets + 2 * s);
    for (let code = first; code <= last && code !== 0xffff; ++code) {
      let glyph = code;
      if (rangeOffset) {
        glyph = cmap.readUInt16BE(rangeOffsets + 2 * s + rangeOffset + 2 * (code - first));
        if (!glyph) continue;
      }
      if ((glyph + delta) & 0xffff) covered.add(code);
    }
  }
}

// Format 12: groups of consecutive characters on consecutive glyphs.
function groupCoverage(cmap, start, covered) {
  const groups = cmap.readUInt32BE(start + 12);
  for (let g = 0; g < groups; ++g) {
    const group = start + 16 + 12 * g;
    const first = cmap.readUInt32BE(group), last = cmap.readUInt32BE(group + 4);
    const glyph = cmap.readUInt32BE(group + 8);
    for (let code = first; code <= last; ++code) {
      if (glyph + code - first) covered.add(code);
    }
  }
}

// The code points of every Unicode subtable of the font, ascending.
function coveredCharacters(font) {
  const cmap = cmapTable(font);
  const covered = new Set();
  for (let i = 0; i < cmap.readUInt16BE(2); ++i) {
    const record = 4 + 8 * i;
    const platform = cmap.readUInt16BE(record);
    const encoding = cmap.readUInt16BE(record + 2);
    if (platform !== 0 && !(platform === 3 && (encoding === 1 || encoding === 10))) continue;
    const start = cmap.readUInt32BE(record + 4);
    const format = cmap.readUInt16BE(start);
    if (format === 4) segmentCoverage(cmap, start, covered);
    else if (format === 12) groupCoverage(cmap, start, covered);
  }
  return [...covered].sort((a, b) => a - b);
}

module.exports = {coveredCharacters};
