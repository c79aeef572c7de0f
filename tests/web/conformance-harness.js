// Runs the conformance suite or the fuzzer (GoogleTest in WebAssembly) in headless Chromium
// and answers its requests (WebDriver.cpp): each user action is sent to Chromium through the
// DevTools protocol (Input.dispatchMouseEvent, Input.dispatchKeyEvent) and answered once
// Chromium has handled its last event; a capture answers what Chromium painted in a box (a
// PNG, Page.captureScreenshot), a character map request the characters a font covers.
// Usage: node conformance-harness.js BUILD_DIR conformance|fuzz
'use strict';
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const {serveSite} = require('./PageDriver.js');
const {coveredCharacters} = require('./FontCoverage.js');

const kLimitMs = 840000;
const kDragSteps = 5;

// The keys the driver presses, as Chromium's key events carry them; a modifier's bit is set
// on every event while it is held.
const kKeys = {
  Tab: {key: 'Tab', code: 'Tab', windowsVirtualKeyCode: 9},
  Space: {key: ' ', code: 'Space', windowsVirtualKeyCode: 32, text: ' '},
  Enter: {key: 'Enter', code: 'Enter', windowsVirtualKeyCode: 13, text: '\r'},
  Escape: {key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27},
  F4: {key: 'F4', code: 'F4', windowsVirtualKeyCode: 115},
  Shift: {key: 'Shift', code: 'ShiftLeft', windowsVirtualKeyCode: 16, modifier: 8},
  Alt: {key: 'Alt', code: 'AltLeft', windowsVirtualKeyCode: 18, modifier: 1},
};

function keyEvent(type, name, modifiers) {
  const {modifier, ...key} = kKeys[name];
  if (type === 'keyDown' && !key.text) type = 'rawKeyDown';
  return {type, modifiers, ...key, unmodifiedText: key.text};
}

// "Alt+F4": the modifiers go down in order, the key goes down and up, the modifiers come up.
function keyEvents(chord) {
  const names = chord.split('+');
  const main = names.pop();
  const events = [];
  let modifiers = 0;
  for (const name of names) events.push(keyEvent('keyDown', name, modifiers |= kKeys[name].modifier));
  events.push(keyEvent('keyDown', main, modifiers), keyEvent('keyUp', main, modifiers));
  for (const name of names.reverse()) events.push(keyEvent('keyUp', name, modifiers &= ~kKeys[name].modifier));
  return events;
}

// A click, or a press at (x, y), a move by (dx, dy) in steps and a release there.
function mouseEvents(kind, x, y, dx, dy) {
  const at = (type, px, py, buttons) =>
    ({type, x: px, y: py, button: type === 'mouseMoved' && !buttons ? 'none' : 'left', buttons, clickCount: 1});
  const events = [at('mouseMoved', x, y, 0), at('mousePressed', x, y, 1)];
  if (kind === 'drag') {
    for (let step = 1; step <= kDragSteps; ++step) {
      events.push(at('mouseMoved', x + dx * step / kDragSteps, y + dy * step / kDragSteps, 1));
    }
  }
  events.push(at('mouseReleased', x + (kind === 'drag' ? dx : 0), y + (kind === 'drag' ? dy : 0), 0));
  return events;
}

// One user action is one burst of events: the session keeps their order, so only the last
// reply, which comes once Chromium has handled its event, is waited for.
async function dispatch(session, method, events) {
  const replies = events.map((event) => session.send(method, event));
  await Promise.all(replies);
}

async function answer(session, request) {
  const [kind, ...rest] = request.split(' ');
  if (kind === 'key') return dispatch(session, 'Input.dispatchKeyEvent', keyEvents(rest[0]));
  if (kind === 'capture') {
    const [x, y, width, height] = rest.map(Number);
    const {data} = await session.send('Page.captureScreenshot',
        {format: 'png', clip: {x, y, width, height, scale: 1}});
    return data;
  }
  if (kind === 'cmap') return coveredCharacters(Buffer.from(rest[0], 'base64')).join(',');
  const [x, y, dx, dy] = rest.map(Number);
  return dispatch(session, 'Input.dispatchMouseEvent', mouseEvents(kind, x, y, dx, dy));
}

// The page asks through a binding (avoDriverSend "ID REQUEST") and is answered by a call of
// its avoDriverAnswer(ID, TEXT), or avoDriverFail(ID, MESSAGE) where the request failed.
async function serveRequests(page) {
  const session = await page.createCDPSession();
  session.on('Runtime.bindingCalled', ({name, payload, executionContextId}) => {
    if (name !== 'avoDriverSend') return;
    const space = payload.indexOf(' ');
    const id = Number(payload.slice(0, space));
    const reply = (call, text) => session.send('Runtime.evaluate', {
      expression: `${call}(${id}, ${JSON.stringify(String(text))})`, contextId: executionContextId,
    }).catch((error) => console.log('the page went before its answer: ' + error.message));
    answer(session, payload.slice(space + 1)).then(
        (text) => reply('avoDriverAnswer', text === undefined ? '' : text),
        (error) => reply('avoDriverFail', error.message));
  });
  await session.send('Runtime.enable');
  await session.send('Runtime.addBinding', {name: 'avoDriverSend'});
}

(async () => {
  const server = await serveSite(path.join(path.resolve(process.argv[2]), process.argv[3]));
  const browser = await puppeteer.launch({
    executablePath: process.env.AVO_CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    // Captured colours are the page's own, untouched by a display profile.
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--force-color-profile=srgb'],
  });
  let exitCode = 1;
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1280, height: 900, deviceScaleFactor: 1});
    let finished;
    const done = new Promise((resolve) => { finished = resolve; });
    page.on('console', (message) => {
      const line = message.text();
      console.log(line);
      const end = /^avo-conformance-exit: (\d+)/.exec(line);
      if (end) finished(Number(end[1]));
    });
    page.on('pageerror', (error) => {
      console.log('page error: ' + error.message);
      finished(1);
    });
    await serveRequests(page);
    // A seed to replay reaches the page in its address; the page hands it to the fuzzer's
    // environment (DriverPage.js).
    const seed = process.env.AVO_FUZZ_SEED;
    const query = seed ? `?AVO_FUZZ_SEED=${encodeURIComponent(seed)}` : '';
    await page.goto(`http://127.0.0.1:${server.address().port}/${query}`);
    const timeout = new Promise((resolve) => setTimeout(() => resolve('timeout'), kLimitMs));
    const result = await Promise.race([done, timeout]);
    if (result === 'timeout') console.log('the suite did not finish in time');
    else exitCode = result;
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(exitCode);
})();
