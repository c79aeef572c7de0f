// The program's page in headless Chromium, driven as a user drives it.
// Usage: node PageTest.js BUILD_DIR   (BUILD_DIR holds avodevivu.html and site/)
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const {PageDriver, serveSite} = require('./PageDriver.js');

const buildDir = path.resolve(process.argv[2] || '.');
const offlinePage = 'file://' + path.join(buildDir, 'avodevivu.html');
const kSite = 'http://www.kavrelonix.example/';
const kMainCaption = '   Kavrelonix   Rivuvuv Avodevivu 2010';

async function withPage(body, viewport) {
  const driver = await PageDriver.open(offlinePage, viewport);
  try {
    await body(driver);
    assert.deepEqual(driver.console.filter((line) => line.startsWith('page error')), []);
  } finally {
    await driver.close();
  }
}

test('the main window opens alone, centred, with its texts exactly as stored', () =>
  withPage(async (driver) => {
    assert.equal(await driver.windowCount(), 1);
    assert.equal(await driver.page.$eval('.caption', (caption) => caption.textContent), kMainCaption);
    // The page's whitespace rules would collapse the caption's spaces; its own keeps them.
    assert.equal(await driver.page.$eval('.caption', (c) => getComputedStyle(c).whiteSpace), 'pre');
    assert.equal(await driver.page.title(), kMainCaption.trim().replace(/ +/g, ' '));
    assert.equal(await driver.text('Form1', 'Label2'), 'KISAYOL');
    assert.equal(await driver.text('Form1', 'Label1'), '');
    const frame = await driver.frame('Form1');
    assert.ok(Math.abs(frame.left - (1024 - frame.width) / 2) <= 1, JSON.stringify(frame));
    assert.ok(Math.abs(frame.top - (768 - frame.height) / 2) <= 1, JSON.stringify(frame));
    assert.equal(await driver.focusedControl(), 'List1');
  }));

test('a selected row is shown only by the show button, by mouse and by Space', () =>
  withPage(async (driver) => {
    await driver.clickRow('Form1', 'List1', 0);
    assert.equal(await driver.text('Form1', 'Label1'), '');
    await driver.click('Form1', 'Command1');
    await driver.waitFor(async () => (await driver.text('Form1', 'Label1')) === ' L ', 'the alias');
    assert.equal(await driver.text('Form1', 'Label3'), ' Çizgi çizmemizi saglayan komuttur. ');
    // The list's own keys move the selection; the last row is scrolled into view.
    await driver.clickRow('Form1', 'List1', 0);
    await driver.pressKey('End');
    await driver.pressKey('Tab');
    assert.equal(await driver.focusedControl(), 'Command1');
    await driver.pressKey('Enter');
    await driver.pressKey('Escape');
    assert.equal(await driver.text('Form1', 'Label1'), ' L ');
    await driver.pressKey('Space');
    await driver.waitFor(async () => (await driver.text('Form1', 'Label1')) !== ' L ', 'the last alias');
    const dragged = await driver.text('Form1', 'Label1');
    await driver.clickRow('Form1', 'List1', 0);
    await driver.pressDragOffRelease('Form1', 'Command1');
    assert.equal(await driver.text('Form1', 'Label1'), dragged);
  }));

test('Tab and Shift+Tab go round the controls in tab order', () =>
  withPage(async (driver) => {
    const seen = [];
    for (let i = 0; i < 4; ++i) {
      await driver.pressKey('Tab');
      seen.push(await driver.focusedControl());
    }
    assert.deepEqual(seen, ['Command1', 'Command2', 'Command3', 'List1']);
    await driver.page.keyboard.down('Shift');
    await driver.pressKey('Tab');
    await driver.page.keyboard.up('Shift');
    assert.equal(await driver.focusedControl(), 'Command3');
  }));

test('screen readers read a list box, named boxes that answer their text, and named buttons', () =>
  withPage(async (driver) => {
    await driver.clickRow('Form1', 'List1', 0);
    await driver.click('Form1', 'Command1');
    await driver.waitFor(async () => (await driver.text('Form1', 'Label1')) === ' L ', 'the alias');
    const nodes = await driver.accessibilityTree();
    const find = (role, name) => nodes.find((node) => node.role === role && node.name === name);
    assert.ok(find('listbox', 'Komutlar'));
    assert.equal(nodes.filter((node) => node.role === 'option').length, 49);
    assert.equal(find('option', 'Line').properties.selected, true);
    for (const word of ['Göster', 'Hakkında', 'Çıkış']) assert.ok(find('button', word), word);
    const alias = find('status', 'KISAYOL');
    assert.ok(alias, 'the alias box is named by its heading');
    assert.equal(alias.properties.live, 'polite');
    assert.ok(nodes.some((node) => node.role === 'StaticText' && node.name === ' L '));
    assert.ok(find('status', 'İŞLEVİ'));
  }));

test('the About window opens once over the main window and launches the site once', () =>
  withPage(async (driver) => {
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.bringToFront('Form1');
    assert.equal(await driver.frontWindow(), 'Form1');
    await driver.click('Form1', 'Command2');
    await driver.waitFor(async () => (await driver.frontWindow()) === 'Text', 'About in front');
    assert.equal(await driver.windowCount(), 2);
    await driver.waitFor(async () => driver.opened.length >= 1, 'the site tab');
    assert.equal(driver.opened.length, 1);
    assert.equal(driver.opened[0].url(), kSite);
    assert.equal(await driver.page.title(), 'Hakkında-Drusenkal');
    const main = await driver.frame('Form1');
    const about = await driver.frame('Text');
    assert.ok(Math.abs(about.left + about.width / 2 - (main.left + main.width / 2)) <= 1);
    assert.equal(await driver.focusedControl(), 'Picture1');
    // A click where the About window covers the main window's exit button reaches About.
    await driver.click('Form1', 'Command3');
    assert.equal(await driver.ended(), false);
    assert.equal(await driver.windowCount(), 2);
    // A click on the main window brings it to the front, and the tab title follows.
    await driver.page.mouse.click(main.left + 20, main.top + 40);
    assert.equal(await driver.frontWindow(), 'Form1');
    assert.equal(await driver.page.title(), kMainCaption.trim().replace(/ +/g, ' '));
  }));

test('the maker\'s name grows past 20 points and shrinks again in whole-point steps', () =>
  withPage(async (driver) => {
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    const sizes = [];
    await driver.waitFor(async () => {
      sizes.push(await driver.page.$eval(driver.selector('Text', 'Label1'), (l) => l.style.fontSize));
      return sizes.includes('20.25pt') && sizes[sizes.length - 1] === '5.25pt';
    }, 'the caption to grow and shrink');
    for (const size of sizes) assert.match(size, /^\d+\.25pt$/);
  }));

test('a refused site launch still opens the About window and says why on the console', () =>
  withPage(async (driver) => {
    await driver.page.evaluate(() => { window.open = () => null; });
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.waitFor(async () => driver.console.some((l) => l.startsWith('avodevivu: Text.Form_Load: ')),
                         'the diagnostic line');
  }));

test('window lifetimes: the exit picture, the close box, the exit button and a restart', () =>
  withPage(async (driver) => {
    await driver.clickRow('Form1', 'List1', 0);
    await driver.click('Form1', 'Command1');
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.pressKey('Enter');  // the exit picture has the focus
    await driver.waitFor(async () => (await driver.windowCount()) === 1, 'About to close');
    assert.equal(await driver.text('Form1', 'Label1'), ' L ', 'the main window stays as it was');
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.closeCommand('Form1');
    await driver.waitFor(async () => (await driver.windowCount()) === 1, 'the main window to close');
    assert.equal(await driver.ended(), false, 'the About window keeps the program running');
    await driver.click('Text', 'Picture1');
    await driver.waitFor(() => driver.isShown('Form1'), 'a fresh main window');
    assert.equal(await driver.text('Form1', 'Label1'), '');
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.bringToFront('Form1');
    await driver.click('Form1', 'Command3');
    await driver.waitFor(() => driver.ended(), 'the ended notice');
    assert.equal(await driver.windowCount(), 0);
    const {x, y} = await driver.centreOf('#restart');
    await driver.page.mouse.click(x, y);
    await driver.waitFor(() => driver.isShown('Form1'), 'the restarted program');
    await driver.closeCommand('Form1');
    await driver.waitFor(() => driver.ended(), 'the end after the last window closed');
  }));

test('on a phone screen the whole main window is scaled to fit', () =>
  withPage(async (driver) => {
    const frame = await driver.frame('Form1');
    assert.ok(frame.left >= 0 && frame.left + frame.width <= 390.5, JSON.stringify(frame));
    assert.ok(frame.top >= 0 && frame.top + frame.height <= 844.5, JSON.stringify(frame));
    assert.ok(frame.width > 380, 'scaled to the width, not further');
    const picture = await driver.page.$eval('.client > img', (image) => image.currentSrc === image.srcset.split(' ')[2]);
    assert.ok(picture, 'the 2x picture at a device pixel ratio above 1');
  }, {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}));

// Measured in a browser that draws its scroll bars, at 100 % and on a phone, where the
// browser's own scroll bars would float over the rows.
test('picture buttons, the list and the 2x pictures are drawn as on the desktop', async () => {
  const phone = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
  for (const viewport of [undefined, phone]) {
    const driver = await PageDriver.open(offlinePage, viewport, {scrollBars: true});
    try {
      // Each face is centred on its raised button on whole pixels, the odd pixel to the right
      // or below, as the desktop draws it: no strip of the button is left bare.
      const faces = await driver.page.$$eval('.window[data-window="Form1"] .button', (buttons) =>
        buttons.map((button) => {
          const face = button.querySelector('img');
          const right = button.offsetWidth - face.offsetLeft - face.width;
          const bottom = button.offsetHeight - face.offsetTop - face.height;
          const raised = getComputedStyle(button).boxShadow !== 'none';
          return [face.offsetLeft, face.offsetTop, right, bottom, raised];
        }));
      assert.deepEqual(faces, [[3, 2, 3, 2, true], [3, 1, 3, 2, true], [2, 2, 3, 2, true]]);
      // The rows are laid out beside a scroll bar 16 pixels wide, inside the 2-pixel edge.
      const rows = await driver.page.$eval(driver.selector('Form1', 'List1'), (list) =>
        [list.offsetWidth - list.clientWidth - 4, list.querySelector('[role=option]').offsetWidth]);
      assert.deepEqual(rows, [16, 101]);
      // At 100 % the 2x pictures are offered once the window is drawn, for a later zoom.
      await driver.waitFor(() => driver.page.$eval('.window[data-window="Form1"] .client > img',
          (image) => / 2x$/.test(image.srcset)), 'the 2x background offered');
    } finally {
      await driver.close();
    }
  }
});

test('the page asks the network for nothing, offline and from a web host', async () => {
  await withPage(async (driver) => {
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    const foreign = driver.requests.filter((url) => !/^(file|blob|data):/.test(url));
    assert.deepEqual(foreign, []);
  });
  const server = await serveSite(path.join(buildDir, 'site'));
  const origin = `http://127.0.0.1:${server.address().port}`;
  const driver = await PageDriver.open(origin + '/');
  try {
    const foreign = driver.requests.filter((url) => !url.startsWith(origin) && !/^(blob|data):/.test(url));
    assert.deepEqual(foreign, []);
    assert.ok(driver.requests.includes(origin + '/avodevivu.wasm'));
  } finally {
    await driver.close();
    server.close();
  }
});
