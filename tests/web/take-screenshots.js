// Writes the README's pictures of the page: both windows in Chromium at 100 % and on a
// 390 x 844 phone screen. Usage: NODE_PATH=... node take-screenshots.js BUILD_DIR DOCS_DIR
'use strict';
const path = require('node:path');
const {PageDriver} = require('./PageDriver.js');

const [buildDir, docsDir] = process.argv.slice(2).map((dir) => path.resolve(dir));
const page = 'file://' + path.join(buildDir, 'avodevivu.html');
const screens = [
  {prefix: 'web', viewport: {width: 800, height: 600, deviceScaleFactor: 1}},
  {prefix: 'web-phone', viewport: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true}},
];

(async () => {
  for (const {prefix, viewport} of screens) {
    const driver = await PageDriver.open(page, viewport, {scrollBars: true});
    await driver.page.evaluate(() => { window.open = () => ({}); });
    await driver.clickRow('Form1', 'List1', 0);
    await driver.click('Form1', 'Command1');
    await driver.waitFor(async () => (await driver.text('Form1', 'Label1')) === ' L ', 'the alias');
    await driver.page.screenshot({path: path.join(docsDir, `${prefix}-main${prefix === 'web' ? '-window' : ''}.png`)});
    await driver.click('Form1', 'Command2');
    await driver.waitFor(() => driver.isShown('Text'), 'the About window');
    await driver.waitFor(async () => (await driver.page.$eval(driver.selector('Text', 'Label1'),
        (label) => label.style.fontSize)) === '16.25pt', 'a large caption');
    await driver.page.screenshot({path: path.join(docsDir, `${prefix}-about${prefix === 'web' ? '-window' : ''}.png`)});
    await driver.close();
  }
})();
