// The test page's side of the driver's requests (tests/conformance/WebDriver.cpp), put before
// the module's own script. A request goes to the harness (conformance-harness.js) through its
// binding, avoDriverSend("ID REQUEST"); the harness answers by calling avoDriverAnswer or
// avoDriverFail with the same ID.
var AvoDriver = (function() {
  const waiting = new Map();
  let last = 0;
  const settle = (id, how, value) => {
    const request = waiting.get(id);
    waiting.delete(id);
    request[how](value);
  };
  window.avoDriverAnswer = (id, text) => settle(id, 'resolve', text);
  window.avoDriverFail = (id, message) => settle(id, 'reject', new Error(message));
  const unquoted = (family) => family.trim().replace(/^"|"$/g, '');
  const coverage = new Map();

  const ask = (request) => new Promise((resolve, reject) => {
    waiting.set(++last, {resolve, reject});
    avoDriverSend(last + ' ' + request);
  });

  // The page's @font-face rule for the family nearest in weight, or null.
  const faceRule = (family, weight) => {
    let best = null, bestDistance = Infinity;
    for (const sheet of document.styleSheets) {
      for (const rule of sheet.cssRules) {
        if (!(rule instanceof CSSFontFaceRule) || unquoted(rule.style.fontFamily) !== family) continue;
        const distance = Math.abs(Number(rule.style.fontWeight) - weight);
        if (distance < bestDistance) [best, bestDistance] = [rule, distance];
      }
    }
    return best;
  };

  // The characters the rule's embedded font covers, read by the harness from its character map.
  const covered = async (rule) => {
    if (!coverage.has(rule)) {
      const data = /base64,([A-Za-z0-9+/=]+)/.exec(rule.style.getPropertyValue('src'));
      const codes = data ? await ask('cmap ' + data[1]) : '';
      coverage.set(rule, new Set(codes.split(',').filter(Boolean).map(Number)));
    }
    return coverage.get(rule);
  };

  // A turn of the page's loop through a message, which, unlike a timer, is not held back to
  // four milliseconds once turns nest. Tasks queued before it run first.
  const channel = new MessageChannel();
  const turns = [];
  channel.port1.onmessage = () => turns.shift()();

  // The events that end a user action: the button's release, or each key's release.
  const endingEvents = (request) => request.startsWith('key ') ?
      {type: 'keyup', count: request.split(' ')[1].split('+').length} : {type: 'mouseup', count: 1};

  return {
    ask,

    // One user action, over once the page has had a turn after its last event: every handler
    // has run by then. The harness answers too, once Chromium has handled the last event, for
    // an action whose last event the page does not get.
    act: (request) => new Promise((resolve, reject) => {
      const {type, count} = endingEvents(request);
      let seen = 0;
      const listener = () => {
        if (++seen === count) AvoDriver.nextTurn().then(over);
      };
      const over = () => {
        removeEventListener(type, listener, true);
        resolve();
      };
      addEventListener(type, listener, true);
      ask(request).then(over, reject);
    }),

    nextTurn: () => new Promise((resolve) => {
      turns.push(resolve);
      channel.port2.postMessage(0);
    }),

    // Once a frame has been laid out and drawn.
    frame: () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0))),

    // What Chromium painted in the element's box as 0x00RRGGBB rows in memory the caller frees
    // (size: width, height), or 0 without the element. The PNG is decoded as it is, without
    // colour conversion.
    capture: async (selector, size) => {
      const element = document.querySelector(selector);
      if (!element) return 0;
      const box = element.getBoundingClientRect();
      const request = ['capture', box.left + scrollX, box.top + scrollY, box.width, box.height];
      const png = Uint8Array.from(atob(await ask(request.join(' '))), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([png], {type: 'image/png'}),
          {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
      const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const rgba = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
      const pixels = _malloc(rgba.length);
      for (let i = 0; i < rgba.length / 4; ++i) {
        HEAPU32[(pixels >> 2) + i] = (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
      }
      HEAP32[size >> 2] = bitmap.width;
      HEAP32[(size >> 2) + 1] = bitmap.height;
      return pixels;
    },

    // Whether the face that draws the element has a glyph for every character of the text
    // (line ends are not drawn); true without an element (a timer draws nothing). The face is
    // the first family of the element's font, as the page embeds it; it must load too, or the
    // page draws in a fallback. A browser cannot be asked: it draws a character it lacks in
    // some face or other, so its answers (document.fonts.check) say nothing of the face.
    hasGlyphs: async (selector, text) => {
      const element = document.querySelector(selector);
      if (!element) return true;
      const style = getComputedStyle(element);
      const family = unquoted(style.fontFamily.split(',')[0]);
      const rule = faceRule(family, Number(style.fontWeight));
      if (!rule) return false;
      const characters = Array.from(text).filter((c) => c !== '\n' && c !== '\r');
      const font = `${style.fontStyle} ${rule.style.fontWeight} 16px "${family}"`;
      if ((await document.fonts.load(font, characters.join(''))).length === 0) return false;
      const codes = await covered(rule);
      return characters.every((c) => codes.has(c.codePointAt(0)));
    },
  };
})();
