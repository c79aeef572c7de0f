// Measures the program's web page against the floor pages in headless Chromium, over the
// DevTools protocol, and prints the rows of the README's performance table
// (`node measure.mjs --table-from web-results.json` prints them again from a run's figures).
//
//   node measure.mjs --single avodevivu.html --site SITE_DIR --floor floor.html
//                    --floor-pulse floor-pulse.html [--runs 3] [--launches 7] [--out DIR]
//
// Every measurement starts a fresh browser with a fresh profile; within a run the launches
// alternate program and floor, and a run's painted time is the median of its launches. "Painted" is the time from navigation start to the end of the first frame in
// which the main window is in the document, visible, with its fonts loaded: the check runs
// in requestAnimationFrame, and a message posted from there arrives once that frame has been
// produced. The caption's repaint interval is the time between the frames that paint (the
// DevTools trace's Paint events); CPU is the renderer's main-thread task time
// (Performance.getMetrics) and all of the browser's processes (/proc), while it pulsates.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import zlib from "node:zlib";
import puppeteer from "puppeteer-core";

const options = {
  chromium: "/usr/bin/chromium", runs: 3, launches: 7, pulseSeconds: 3, out: ".",
  window: "[data-window=Form1]", about: "[data-window=Form1] [data-name=Command2]",
  caption: "[data-window=Text] [data-name=Label1]",
  single: null, site: null, floor: null, floorPulse: null,
};
for (let i = 2; i < process.argv.length && process.argv[2] !== "--table-from"; i += 2) {
  const key = process.argv[i].replace(/^--/, "").replace(/-(\w)/g, (_, c) => c.toUpperCase());
  if (!(key in options)) throw new Error(`unknown option ${process.argv[i]}`);
  options[key] = typeof options[key] === "number" ? Number(process.argv[i + 1]) : process.argv[i + 1];
}
for (const needed of ["single", "site", "floor", "floorPulse"]) {
  if (!options[needed] && process.argv[2] !== "--table-from") throw new Error(`--${needed} is needed`);
}

const timeoutMs = 60000;
const clockTicks = 100;  // USER_HZ on Linux

// Serves the site folder and the floor page from one local origin, as a web host would.
function serve(files) {
  const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
  const server = http.createServer((request, response) => {
    const file = files[new URL(request.url, "http://x").pathname];
    if (!file) { response.writeHead(404).end(); return; }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] ?? "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Installed before the page's own scripts run.
function paintedProbe(selector) {
  window.__avoWindowPainted = new Promise((resolve) => {
    const frameDone = () => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => resolve(performance.now());
      channel.port2.postMessage(null);
    };
    const check = () => {
      const element = document.querySelector(selector);
      const shown = element && element.getClientRects().length > 0 &&
          getComputedStyle(element).visibility !== "hidden";
      if (!shown) requestAnimationFrame(check);
      else if (document.fonts.status === "loaded") frameDone();
      else document.fonts.ready.then(() => requestAnimationFrame(frameDone));
    };
    requestAnimationFrame(check);
  });
}

async function withBrowser(work) {
  const browser = await puppeteer.launch({
    executablePath: options.chromium, headless: true,
    // The browser's own omnibox pop-up pages would load beside every page measured, half a
    // second of CPU on two shared cores.
    args: ["--no-sandbox", "--window-size=1280,1024", "--no-first-run", "--mute-audio",
           "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup"],
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 1024 });
    const outside = [];
    page.on("request", (request) => {
      const url = request.url();
      if (!/^(data|blob|file):|^http:\/\/127\.0\.0\.1:/.test(url)) outside.push(url);
    });
    // Every load of the About window opens the maker's site in a new tab, which would hide
    // the page and stop its painting: the tab is closed and the page brought back.
    browser.on("targetcreated", async (target) => {
      const opened = target.type() === "page" ? await target.page() : null;
      if (opened && opened !== page) {
        await opened.close().catch(() => {});
        await page.bringToFront();
      }
    });
    const result = await work(browser, page);
    return { ...result, outsideRequests: outside.length };
  } finally {
    await browser.close();
  }
}

async function openWindow(page, url) {
  await page.evaluateOnNewDocument(paintedProbe, options.window);
  await page.goto(url, { waitUntil: "load", timeout: timeoutMs });
  const painted = await page.evaluate(() => window.__avoWindowPainted);
  const contentful = await page.evaluate(() =>
    performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? null);
  return { painted, contentful };
}

function processTreeCpuSeconds(rootPid) {
  const parents = new Map();
  const times = new Map();
  for (const entry of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      parents.set(Number(entry), Number(fields[1]));
      times.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / clockTicks);
    } catch { /* the process ended while we looked */ }
  }
  let total = 0;
  for (const [pid, time] of times) {
    for (let p = pid; p > 1; p = parents.get(p)) {
      if (p === rootPid) { total += time; break; }
      if (!parents.has(p)) break;
    }
  }
  return total;
}

async function taskSeconds(session) {
  const { metrics } = await session.send("Performance.getMetrics");
  return metrics.find((m) => m.name === "TaskDuration").value;
}

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// CPU over one span without tracing, then the repaint intervals over a second, traced span.
async function measurePulse(browser, page) {
  await page.waitForSelector(options.caption, { visible: true, timeout: timeoutMs });
  await page.waitForFunction(() => document.visibilityState === "visible",
                             { polling: 100, timeout: timeoutMs });
  const session = await page.createCDPSession();
  await session.send("Performance.enable");
  const span = options.pulseSeconds * 1000;
  // The browser's own start-up work (its GPU and network processes) ends first, so that the
  // span holds the pulsating alone, on both sides.
  await pause(2000);
  const [cpu0, task0, wall0] = [processTreeCpuSeconds(browser.process().pid), await taskSeconds(session), Date.now()];
  await pause(span);
  const [cpu1, task1, wall1] = [processTreeCpuSeconds(browser.process().pid), await taskSeconds(session), Date.now()];
  const wall = (wall1 - wall0) / 1000;
  await page.tracing.start({ categories: ["devtools.timeline"] });
  await pause(span);
  const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString());
  // Only the caption changes while it pulsates, so every frame that paints repaints it; a
  // frame's Paint events (one per painted layer or chunk) lie within a few milliseconds.
  const starts = trace.traceEvents.filter((e) => e.name === "Paint").map((e) => e.ts / 1000)
    .sort((a, b) => a - b);
  const paints = starts.filter((t, i) => i === 0 || t - starts[i - 1] > 4);
  const intervals = paints.slice(1).map((t, i) => t - paints[i]);
  return { intervals, mainThreadPercent: 100 * (task1 - task0) / wall,
           processesPercent: 100 * (cpu1 - cpu0) / wall };
}

function bytesOf(files) {
  const raw = files.reduce((sum, f) => sum + fs.statSync(f).size, 0);
  const gzip = files.reduce((sum, f) => sum + zlib.gzipSync(fs.readFileSync(f), { level: 9 }).length, 0);
  return { raw, gzip };
}

const median = (xs) => { const s = [...xs].sort((a, b) => a - b); const m = s.length >> 1;
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2; };
const percentile = (xs, p) => { const s = [...xs].sort((a, b) => a - b);
  return s[Math.min(s.length - 1, Math.ceil(p / 100 * s.length) - 1)]; };
const ms = (x) => (Number.isFinite(x) ? `${x.toFixed(1)} ms` : "n/a");
const kib = (b) => `${(b / 1024).toFixed(0)} KiB (${b} B)`;
const ratio = (a, b) => `${(a / b).toFixed(2)} x`;
const verdict = (ok) => (ok ? "meets" : "MISSES");

async function main() {
  const siteFiles = ["index.html", "avodevivu.js", "avodevivu.wasm"].map((f) => path.join(options.site, f));
  const server = await serve({ "/index.html": siteFiles[0], "/avodevivu.js": siteFiles[1],
                               "/avodevivu.wasm": siteFiles[2], "/floor.html": options.floor });
  const origin = `http://127.0.0.1:${server.address().port}`;
  const fileUrl = (f) => `file://${path.resolve(f)}`;
  const starts = {
    "single file": fileUrl(options.single), "floor page": fileUrl(options.floor),
    "site (local HTTP)": `${origin}/index.html`, "floor page (local HTTP)": `${origin}/floor.html`,
  };
  const painted = Object.fromEntries(Object.keys(starts).map((k) => [k, []]));
  const pulses = { program: [], floor: [] };
  let outsideRequests = 0;
  for (let run = 1; run <= options.runs; ++run) {
    const launches = Object.fromEntries(Object.keys(starts).map((k) => [k, []]));
    for (let launch = 0; launch < options.launches; ++launch) {
      for (const [name, url] of Object.entries(starts)) {
        const result = await withBrowser((browser, page) => openWindow(page, url));
        launches[name].push(result);
        outsideRequests += result.outsideRequests;
      }
    }
    for (const [name, results] of Object.entries(launches)) {
      const summary = { painted: median(results.map((r) => r.painted)),
                        contentful: median(results.map((r) => r.contentful ?? NaN)),
                        launches: results.map((r) => r.painted) };
      painted[name].push(summary);
    }
    for (const name of Object.keys(starts)) {
      console.error(`run ${run}: ${name}: painted ${ms(painted[name][run - 1].painted)} ` +
                    `(median of ${options.launches})`);
    }
    const program = await withBrowser(async (browser, page) => {
      await openWindow(page, starts["single file"]);
      await page.click(options.about);
      return measurePulse(browser, page);
    });
    const floor = await withBrowser(async (browser, page) => {
      await page.goto(fileUrl(options.floorPulse), { waitUntil: "load", timeout: timeoutMs });
      return measurePulse(browser, page);
    });
    for (const [side, result] of [["program", program], ["floor", floor]]) {
      pulses[side].push(result);
      outsideRequests += result.outsideRequests;
      console.error(`run ${run}: pulse, ${side}: repaint median ${ms(median(result.intervals))}, ` +
                    `CPU ${result.processesPercent.toFixed(1)} %`);
    }
  }
  server.close();

  const results = { painted, pulses, outsideRequests, single: bytesOf([options.single]),
                    site: bytesOf(siteFiles), floor: bytesOf([options.floor]) };
  fs.mkdirSync(options.out, { recursive: true });
  fs.writeFileSync(path.join(options.out, "web-results.json"), JSON.stringify(results, null, 1));
  const table = tableOf(results);
  fs.writeFileSync(path.join(options.out, "web-results.md"), table + "\n");
  console.log(table);
}

// The README's form: each cell gives the runs' figures in order, run 1 / run 2 / ...; a
// target is met when every run meets it.
function tableOf({ painted, pulses, outsideRequests, single, site, floor }) {
  const rows = [];
  const row = (...cells) => rows.push(`| ${cells.join(" | ")} |`);
  const each = (xs, format) => xs.map(format).join(" / ");
  const fixed = (digits, unit) => (x) => (Number.isFinite(x) ? x.toFixed(digits) : "n/a") + unit;
  for (const [program, floorName] of [["single file", "floor page"],
                                      ["site (local HTTP)", "floor page (local HTTP)"]]) {
    const a = painted[program].map((r) => r.painted), b = painted[floorName].map((r) => r.painted);
    const ratios = a.map((x, i) => x / b[i]);
    row(`Web, Chromium: navigation to main window painted, ${program}`, each(a, fixed(0, "")) + " ms",
        each(b, fixed(0, "")) + " ms", each(ratios, fixed(2, "")) + " x", "≤ 1.25 x",
        verdict(ratios.every((r) => r <= 1.25)));
  }
  const medians = (side) => pulses[side].map((p) => median(p.intervals));
  const p99s = (side) => pulses[side].map((p) => percentile(p.intervals, 99));
  const counts = (side) => pulses[side].map((p) => p.intervals.length).join(" / ");
  row("Web, Chromium: caption repaint interval, median (p99) [intervals]",
      `${each(medians("program"), fixed(1, ""))} ms (${each(p99s("program"), fixed(0, ""))} ms) [${counts("program")}]`,
      `${each(medians("floor"), fixed(1, ""))} ms (${each(p99s("floor"), fixed(0, ""))} ms) [${counts("floor")}]`,
      "", "30 ± 1 ms", verdict(medians("program").every((m) => Math.abs(m - 30) <= 1)));
  for (const [what, key] of [["all the browser's processes", "processesPercent"],
                             ["the renderer's main thread", "mainThreadPercent"]]) {
    const a = pulses.program.map((p) => p[key]), b = pulses.floor.map((p) => p[key]);
    const ratios = a.map((x, i) => x / b[i]);
    row(`Web, Chromium: CPU while pulsating, ${what}, % of one core`, each(a, fixed(1, "")) + " %",
        each(b, fixed(1, "")) + " %", each(ratios, fixed(2, "")) + " x", "≤ the floor's",
        verdict(ratios.every((r) => r <= 1)));
  }
  row("Web: the single file's bytes (gzip -9)", `${kib(single.raw)} (${kib(single.gzip)})`,
      `${kib(floor.raw)} (${kib(floor.gzip)})`, ratio(single.raw, floor.raw), "≤ 1.5 x",
      verdict(single.raw <= 1.5 * floor.raw));
  row("Web: the site's bytes, page + script + module (gzip -9)", `${kib(site.raw)} (${kib(site.gzip)})`,
      `${kib(floor.raw)} (${kib(floor.gzip)})`, ratio(site.raw, floor.raw), "(reported)", "n/a");
  row("Web: the page's requests that left the machine, all runs", `${outsideRequests}`, "", "", "0",
      verdict(outsideRequests === 0));
  return ["| measure | program | floor | program / floor | target |  |", "|---|---|---|---|---|---|",
          ...rows].join("\n");
}

if (process.argv[2] === "--table-from") {
  console.log(tableOf(JSON.parse(fs.readFileSync(process.argv[3], "utf8"))));
  process.exit(0);
}

await main();
