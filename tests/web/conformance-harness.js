// Runs the conformance suite or the fuzzer (GoogleTest in WebAssembly) in headless Chromium
// and serves its input: each mouse or key request of WebDriver.cpp is sent to Chromium through
// the DevTools protocol (Input.dispatchMouseEvent, Input.dispatchKeyEvent) and answered once
// Chromium has handled it. Usage: node conformance-harness.js BUILD_DIR conformance|fuzz
'use strict';
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const {serveSite} = require('./PageDriver.js');

const kLimitMs = 840000;

async function serveInput(page, request) {
  const [kind, ...rest] = request.split(' ');
  if (kind === 'key') {
    const [key] = rest;
    const [modifier, chord] = key.split('+');
    if (chord) {
      await page.keyboard.down(modifier);
      await page.keyboard.press(chord);
      await page.keyboard.up(modifier);
    } else {
      await page.keyboard.press(key === 'Space' ? ' ' : key);
    }
    return;
  }
  const [x, y, dx, dy] = rest.map(Number);
  if (kind === 'click') {
    await page.mouse.click(x, y);
    return;
  }
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx, y + dy, {steps: 5});
  await page.mouse.up();
}

(async () => {
  const server = await serveSite(path.join(path.resolve(process.argv[2]), process.argv[3]));
  const browser = await puppeteer.launch({
    executablePath: process.env.AVO_CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
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
    await page.exposeFunction('avoDriverInput', (request) => serveInput(page, request));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
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
