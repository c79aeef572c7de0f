// Reaches the program's page in headless Chromium as a user and a screen reader would: the
// mouse and keys go through the DevTools protocol's input events (Input.dispatchMouseEvent,
// Input.dispatchKeyEvent, which puppeteer's page.mouse and page.keyboard send), the screen
// reader's view is Chromium's accessibility tree, and every request the page makes is kept.
'use strict';
const http = require('node:http');
const fs = require('node:fs');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const kLimitMs = 20000;

class PageDriver {
  // puppeteer starts Chromium with its scroll bars hidden, unless `scrollBars` asks for the
  // browser as a user has it.
  static async open(url, viewport = {width: 1024, height: 768, deviceScaleFactor: 1},
                    {scrollBars = false} = {}) {
    const driver = new PageDriver();
    driver.browser = await puppeteer.launch({
      executablePath: process.env.AVO_CHROMIUM || '/usr/bin/chromium',
      headless: 'new',
      ignoreDefaultArgs: scrollBars ? ['--hide-scrollbars'] : [],
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--no-default-browser-check'],
    });
    driver.page = await driver.browser.newPage();
    driver.console = [];
    driver.requests = [];
    driver.page.on('console', (message) => driver.console.push(message.text()));
    driver.page.on('pageerror', (error) => driver.console.push('page error: ' + error.message));
    driver.page.on('request', (request) => driver.requests.push(request.url()));
    driver.opened = [];
    driver.browser.on('targetcreated', (target) => {
      if (target.type() === 'page') driver.opened.push(target);
    });
    await driver.page.setViewport(viewport);
    await driver.page.goto(url);
    await driver.waitFor(() => driver.isShown('Form1'), 'the main window to open');
    return driver;
  }

  async close() { await this.browser.close(); }

  // Polls until the condition holds, failing with what was awaited after a generous limit.
  async waitFor(condition, what) {
    const start = Date.now();
    for (;;) {
      if (await condition()) return;
      if (Date.now() - start > kLimitMs) throw new Error('timed out waiting for ' + what);
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }

  selector(window, control) {
    const root = `.window[data-window="${window}"]`;
    return control ? `${root} [data-name="${control}"]` : root;
  }

  async centreOf(selector) {
    const box = await this.page.$eval(selector, (element) => {
      element.scrollIntoView({block: 'nearest'});
      const rect = element.getBoundingClientRect();
      return {x: rect.left + rect.width / 2, y: rect.top + rect.height / 2};
    });
    return box;
  }

  async click(window, control) {
    const {x, y} = await this.centreOf(this.selector(window, control));
    await this.page.mouse.click(x, y);
  }

  async clickRow(window, control, row) {
    const {x, y} = await this.centreOf(`${this.selector(window, control)} [role=option]:nth-child(${row + 1})`);
    await this.page.mouse.click(x, y);
  }

  async pressDragOffRelease(window, control) {
    const {x, y} = await this.centreOf(this.selector(window, control));
    await this.page.mouse.move(x, y);
    await this.page.mouse.down();
    await this.page.mouse.move(x, y - 200, {steps: 4});
    await this.page.mouse.up();
  }

  // A click on the window's caption bar, which brings it to the front.
  async bringToFront(window) {
    const {x, y} = await this.centreOf(`${this.selector(window)} .caption`);
    await this.page.mouse.click(x, y);
  }

  async closeCommand(window) {
    const {x, y} = await this.centreOf(`${this.selector(window)} .closebox`);
    await this.page.mouse.click(x, y);
  }

  async pressKey(key) { await this.page.keyboard.press(key); }

  async isShown(window) {
    return this.page.evaluate((selector) => {
      const root = document.querySelector(selector);
      return !!root && !root.hidden;
    }, this.selector(window));
  }

  async windowCount() { return this.page.$$eval('.window', (roots) => roots.length); }

  async frontWindow() {
    return this.page.evaluate(() => {
      let front = null;
      for (const root of document.querySelectorAll('.window')) {
        if (!front || Number(root.style.zIndex) > Number(front.style.zIndex)) front = root;
      }
      return front ? front.dataset.window : '';
    });
  }

  async focusedControl() {
    return this.page.evaluate(() => (document.activeElement && document.activeElement.dataset.name) || '');
  }

  async text(window, control) {
    return this.page.$eval(this.selector(window, control), (element) => element.textContent);
  }

  async frame(window) {
    return this.page.$eval(this.selector(window), (element) => {
      const rect = element.getBoundingClientRect();
      return {left: rect.left, top: rect.top, width: rect.width, height: rect.height};
    });
  }

  async ended() {
    return this.page.$eval('#ended', (notice) => !notice.hidden);
  }

  // Chromium's accessibility tree, as a screen reader reads it.
  async accessibilityTree() {
    const session = await this.page.createCDPSession();
    const {nodes} = await session.send('Accessibility.getFullAXTree');
    await session.detach();
    return nodes.filter((node) => !node.ignored).map((node) => ({
      role: node.role && node.role.value,
      name: node.name && node.name.value,
      properties: Object.fromEntries((node.properties || []).map((p) => [p.name, p.value.value])),
    }));
  }
}

// Serves the page for a web host (site/) on a local port, as a web host would.
function serveSite(directory) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((request, response) => {
    const address = new URL(request.url, 'http://localhost');
    const name = address.pathname === '/' ? 'index.html' : path.basename(address.pathname);
    const file = path.join(directory, name);
    if (!fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = {PageDriver, serveSite};
