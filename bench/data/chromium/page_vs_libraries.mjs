// The generated search page beside five search libraries (FlexSearch, uFuzzy, MiniSearch,
// Fuse.js, Lunr) in Debian's Chromium, headless, driven with playwright-core: 100,000 items
// for speed, the machine's manual pages for ranking. Every page is built by tolvane-build
// itself, so engine.js holds exactly the bytes the program writes; the libraries get the same
// index.html and style.css, the same captions, and show their results in the same elements.
//
// Usage (bench/data/chromium/page_vs_libraries.bench.sh sets up and calls this):
//   node page_vs_libraries.mjs --tolvane-build PATH --repo DIR [--engine LABEL=ENGINE_TXT]...
//       [--rounds N] [--settle MS] [--out DIR] [--json FILE] [--peers ID,ID...]
// --settle is the longest to wait, after a load, for the page's main thread to be quiet (its
// deferred work done) before the warm queries.
// --engine adds a column for another engine template (default: the checkout's own as "page").
// --peers keeps only the named libraries (flexsearch, ufuzzy, minisearch, fuse, lunr,
// render-only), or none: quicker runs while working on the engine.
// Round 1 is the fresh run (nothing loaded before); the table's medians are over the later,
// warm rounds, with round 1 beside them. Columns are measured interleaved, round by round.
import { chromium } from "playwright-core";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { manualPageItems, grownItems, listText } from "./lists.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const BOM = "\ufeff";
const GROWN_ITEMS = 100000;
const CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
  "--no-first-run", "--disable-background-networking", "--disable-component-update",
  "--disable-sync"];

// Visitors' queries on the 100,000 items: common and rare words, two words, words being
// typed, a phrase, an exclusion, a short word.
const TYPICAL = ["file", "network", "printf", "password", "socket", "ssh key",
  "network interface", "user -group", "\"shared library\"", "conf", "compr", "xz", "tcp",
  "list files"];
const ONE_LETTER = ["a", "e", "s", "t", "o", "r", "m"];
const FIRST_SEARCH = "network";
// The answer anyone expects, on the manual pages.
const RANKING = [
  { query: "printf", expected: "man/printf.1.html", what: "printf(1)" },
  { query: "password", expected: "man/passwd.1.html", what: "passwd(1)" },
  { query: "ssh key", expected: "man/ssh-keygen.1.html", what: "ssh-keygen(1)" },
];
const TYPO_COUNTS = ["adress", "pritnf"];

const PEERS = [
  { label: "FlexSearch (50 results)", id: "flexsearch",
    library: "flexsearch/dist/flexsearch.bundle.min.js" },
  { label: "uFuzzy", id: "ufuzzy", library: "@leeoniya/ufuzzy/dist/uFuzzy.iife.min.js" },
  { label: "MiniSearch", id: "minisearch", library: "minisearch/dist/umd/index.js" },
  { label: "Fuse.js", id: "fuse", library: "fuse.js/dist/fuse.min.cjs", commonjs: "Fuse" },
  { label: "Lunr", id: "lunr", library: "lunr/lunr.min.js" },
  { label: "render only, no search", id: "render-only", searches: false },
];

// An engine template that does nothing: the page's script is the data statements alone. The
// build puts its tags statement in front of the item loop's first line; here that line is in a
// function never called, so the statement never runs.
const DO_NOTHING_ENGINE = "function neverCalled() {\n  for(var i=1; i<=Keyword[0]; i++) {}\n}\n";

function parseArguments(argv) {
  const options = { engines: [], rounds: 5, settle: 30000, out: null, json: null, peers: PEERS };
  for (let k = 0; k < argv.length; k++) {
    const value = () => {
      if (k + 1 >= argv.length) throw new Error(`${argv[k]} needs a value`);
      return argv[++k];
    };
    switch (argv[k]) {
      case "--tolvane-build": options.tolvaneBuild = value(); break;
      case "--repo": options.repo = value(); break;
      case "--engine": {
        const [label, file] = value().split(/=(.*)/s);
        options.engines.push({ label, file });
        break;
      }
      case "--rounds": options.rounds = Math.max(2, Number(value())); break;
      case "--settle": options.settle = Number(value()); break;
      case "--out": options.out = value(); break;
      case "--json": options.json = value(); break;
      case "--peers": {
        const ids = value().split(",").filter((id) => id && id !== "none");
        const unknown = ids.filter((id) => !PEERS.some((p) => p.id === id));
        if (unknown.length) throw new Error(`unknown peers: ${unknown.join(", ")}`);
        options.peers = PEERS.filter((p) => ids.includes(p.id));
        break;
      }
      default: throw new Error(`unknown argument ${argv[k]}`);
    }
  }
  if (!options.tolvaneBuild || !options.repo) throw new Error("--tolvane-build and --repo are needed");
  if (!options.engines.length) {
    options.engines.push({ label: "page", file: path.join(options.repo, "data/system/engine.txt") });
  }
  options.out ??= fs.mkdtempSync("/tmp/tolvane-chromium-bench-");
  fs.mkdirSync(options.out, { recursive: true });
  return options;
}

// ---- The sites ---------------------------------------------------------------------------

// A data folder for tolvane-build --data: the checkout's heading and style sheets, `engine`
// as the engine template.
function dataFolder(options, name, engineText) {
  const folder = path.join(options.out, "data", name);
  fs.mkdirSync(path.join(folder, "system"), { recursive: true });
  fs.copyFileSync(path.join(options.repo, "data/system/heading.txt"),
    path.join(folder, "system/heading.txt"));
  fs.writeFileSync(path.join(folder, "system/engine.txt"), engineText);
  const styles = path.join(folder, "Styles");
  if (!fs.existsSync(styles)) fs.symlinkSync(path.join(options.repo, "data/Styles"), styles);
  return folder;
}

function buildPage(options, data, list, site) {
  execFileSync(options.tolvaneBuild, ["--data", data, "-o", site, list], { stdio: "inherit" });
  return site;
}

// The captions and links as two arrays, as the libraries are handed them.
function dataScript(items) {
  return `var Captions = ${JSON.stringify(items.map((i) => i.caption))};\n` +
    `var Links = ${JSON.stringify(items.map((i) => i.link))};\n`;
}

function libraryScript(peer) {
  if (!peer.library) return "";
  const code = fs.readFileSync(path.join(here, "node_modules", peer.library), "utf8");
  if (!peer.commonjs) return code;
  return `var ${peer.commonjs} = (function () { var module = { exports: {} }, exports = module.exports;\n` +
    `${code}\nreturn module.exports; })();\n`;
}

// A site with the page's index.html and style.css and `script` as its engine.js.
function siteWithScript(pageSite, site, script) {
  fs.mkdirSync(site, { recursive: true });
  for (const name of ["index.html", "style.css"]) {
    fs.copyFileSync(path.join(pageSite, name), path.join(site, name));
  }
  fs.writeFileSync(path.join(site, "engine.js"), BOM + script);
  return site;
}

function makeSites(options) {
  const manual = manualPageItems();
  const grown = grownItems(manual, GROWN_ITEMS);
  const lists = { grown, manual };
  const sites = { grown: {}, manual: {} };
  for (const [name, items] of Object.entries(lists)) {
    const list = path.join(options.out, `${name}.til`);
    fs.writeFileSync(list, listText(items));
    for (const engine of options.engines) {
      const data = dataFolder(options, engine.label, fs.readFileSync(engine.file));
      sites[name][engine.label] = buildPage(options, data, list,
        path.join(options.out, "sites", `${engine.label}-${name}`));
    }
    const pageSite = sites[name][options.engines[0].label];
    const data = dataScript(items);
    for (const peer of options.peers) {
      const script = data + libraryScript(peer) + "\n" +
        fs.readFileSync(path.join(here, "peers", `${peer.id}.js`), "utf8") + "\n" +
        fs.readFileSync(path.join(here, "peers", "shell.js"), "utf8");
      sites[name][peer.id] = siteWithScript(pageSite, path.join(options.out, "sites",
        `${peer.id}-${name}`), script);
    }
    if (name === "grown") {
      sites.grown.floor = buildPage(options, dataFolder(options, "floor", DO_NOTHING_ENGINE),
        list, path.join(options.out, "sites", "floor-grown"));
      sites.grown.array = siteWithScript(pageSite, path.join(options.out, "sites", "array-grown"),
        data);
    }
  }
  return { sites, sizes: { grown: grown.length, manual: manual.length },
    engineBytes: fs.statSync(path.join(sites.grown[options.engines[0].label], "engine.js")).size };
}

// ---- In the browser ----------------------------------------------------------------------

// Runs before the page's own scripts: notes when the results region appears and when the
// first results are in it (laid out), then stops watching.
const WATCH_SCRIPT = `(function () {
  var bench = window.__bench = { region: 0, results: 0 };
  var wantsResults = /[?&]q=/.test(location.search);
  var observer = new MutationObserver(function () {
    if (!bench.region && document.getElementById("tolvane-results")) bench.region = performance.now();
    if (wantsResults && !bench.results && document.querySelector("a.tv-link")) {
      void document.body.offsetHeight;
      bench.results = performance.now();
    }
    if (bench.region && (!wantsResults || bench.results)) observer.disconnect();
  });
  observer.observe(document, { childList: true, subtree: true });
})();`;

class Browser {
  static async start() {
    const browser = new Browser();
    browser.chromium = await chromium.launch({ executablePath: "/usr/bin/chromium",
      args: CHROMIUM_FLAGS, headless: true });
    return browser;
  }

  async open(site, query, { hasRegion = true, wantsResults = false } = {}) {
    const context = await this.chromium.newContext({ viewport: { width: 1280, height: 800 } });
    const page = await context.newPage();
    await page.addInitScript(WATCH_SCRIPT);
    const url = pathToFileURL(path.join(site, "index.html")).href +
      (query ? "?q=" + encodeURIComponent(query) : "");
    return { context, page, url, hasRegion, wantsResults };
  }

  // Loads the opened page and returns its times, in ms from the start of navigation.
  async load(opened) {
    const { page, url, hasRegion, wantsResults } = opened;
    await page.goto(url, { waitUntil: "domcontentloaded", timeout: 300000 });
    await page.waitForFunction(([region, results]) => {
      const nav = performance.getEntriesByType("navigation")[0];
      return nav && nav.domContentLoadedEventEnd > 0 && (!region || __bench.region > 0) &&
        (!results || __bench.results > 0);
    }, [hasRegion, wantsResults], { timeout: 300000, polling: 50 });
    return page.evaluate(() => {
      const nav = performance.getEntriesByType("navigation")[0];
      return { dclStart: nav.domContentLoadedEventStart, dclEnd: nav.domContentLoadedEventEnd,
        ready: Math.max(nav.domContentLoadedEventEnd, __bench.region),
        results: __bench.results };
    });
  }

  async close(opened) {
    await opened.context.close();
  }

  async stop() {
    await this.chromium.close();
  }
}

// Each query set through the field and the search button's dolt(), timed to the results laid
// out; also how many results each showed.
function timeQueries(page, queries) {
  return page.evaluate((queries) => {
    const field = document.forms.form1.sub, times = [], shown = [];
    for (const query of queries) {
      field.value = query;
      const start = performance.now();
      dolt();
      void document.body.offsetHeight;
      times.push(performance.now() - start);
      shown.push(document.querySelectorAll("a.tv-link").length);
    }
    return { times, shown };
  }, queries);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until the page's main thread has been quiet (under 2 ms of tasks in each of five
// windows of 200 ms, by Chromium's own count of task time; an idle page uses about 0.5), at
// most `limit` ms, so that the work a page defers is done before it is timed warm. Returns
// when it was quiet, in ms from the start of navigation (NaN if it never was).
async function waitUntilQuiet(page, limit) {
  const session = await page.context().newCDPSession(page);
  await session.send("Performance.enable");
  const taskTime = async () => (await session.send("Performance.getMetrics")).metrics
    .find((m) => m.name === "TaskDuration").value * 1000;
  const started = Date.now();
  let last = await taskTime(), quietWindows = 0;
  while (quietWindows < 5 && Date.now() - started < limit) {
    await sleep(200);
    const now = await taskTime();
    quietWindows = now - last < 2 ? quietWindows + 1 : 0;
    last = now;
  }
  await session.detach();
  if (quietWindows < 5) return NaN;
  return page.evaluate(() => performance.now() - 1000);
}

// ---- The rounds --------------------------------------------------------------------------

function columnsOf(options) {
  return [
    ...options.engines.map((e) => ({ key: e.label, label: e.label, engine: true, searches: true })),
    ...options.peers.map((p) => ({ key: p.id, label: p.label, engine: false, searches: p.searches !== false })),
  ];
}

// A library whose queries take over SLOW_QUERY ms (median) is timed in the first two rounds
// only: its figures are far from the others' anyway, and Lunr's one-letter queries alone would
// take minutes a round.
const SLOW_QUERY = 300;
const isSlow = (measured) =>
  median(measured.typical.flat()) > SLOW_QUERY || median(measured.oneLetter.flat()) > SLOW_QUERY;

async function speedRounds(browser, options, sites) {
  const columns = columnsOf(options);
  const results = {};
  const record = (key, measure, round, values) => {
    results[key] ??= {};
    results[key][measure] ??= [];
    results[key][measure][round] = [].concat(values);
  };
  for (let round = 0; round < options.rounds; round++) {
    // A different order each round, so no column always follows the same one.
    const order = [...columns, { key: "floor" }, { key: "array" }];
    for (let k = 0; k < round % order.length; k++) order.push(order.shift());
    for (const column of order) {
      const site = sites.grown[column.key];
      const reference = column.key === "floor" || column.key === "array";
      const opened = await browser.open(site, "", { hasRegion: !reference });
      const times = await browser.load(opened);
      record(column.key, "ready", round, times.ready);
      if (!reference && !(round >= 2 && isSlow(results[column.key]))) {
        record(column.key, "quiet", round, await waitUntilQuiet(opened.page, options.settle));
        const typical = await timeQueries(opened.page, TYPICAL);
        const oneLetter = await timeQueries(opened.page, ONE_LETTER);
        record(column.key, "typical", round, typical.times);
        record(column.key, "oneLetter", round, oneLetter.times);
        if (round === 0) {
          results[column.key].shown = Object.fromEntries(TYPICAL.map((q, i) => [q, typical.shown[i]]));
        }
      }
      await browser.close(opened);
      if (column.engine) {
        const first = await browser.open(site, FIRST_SEARCH, { wantsResults: true });
        const t = await browser.load(first);
        record(column.key, "firstSearch", round, t.results - t.dclStart);
        record(column.key, "firstSearchFromStart", round, t.results);
        await browser.close(first);
      }
      process.stderr.write(".");
    }
    process.stderr.write(` round ${round + 1} of ${options.rounds}\n`);
  }
  return results;
}

// ---- Long tasks and where the time goes (the page's engines only) --------------------------

// Tasks of the page's main thread over 10 ms, from a Chromium trace of a load and the quiet
// time after it, each with the script functions it ran.
async function longTasks(browser, options, site) {
  const opened = await browser.open(site, "");
  await browser.chromium.startTracing(opened.page, {
    categories: ["toplevel", "devtools.timeline", "disabled-by-default-devtools.timeline", "v8"],
  });
  const times = await browser.load(opened);
  await waitUntilQuiet(opened.page, options.settle);
  await sleep(500);
  const trace = JSON.parse((await browser.chromium.stopTracing()).toString("utf8"));
  await browser.close(opened);
  return summariseTrace(trace.traceEvents, times);
}

function summariseTrace(events, times) {
  const rendererMain = new Set(events
    .filter((e) => e.ph === "M" && e.name === "thread_name" && e.args?.name === "CrRendererMain")
    .map((e) => `${e.pid}:${e.tid}`));
  const onMain = events.filter((e) => rendererMain.has(`${e.pid}:${e.tid}`) && e.ph === "X");
  const navigation = events.find((e) => e.name === "navigationStart" && rendererMain.has(`${e.pid}:${e.tid}`)) ??
    events.find((e) => e.name === "TracingStartedInBrowser");
  const origin = navigation ? navigation.ts : Math.min(...onMain.map((e) => e.ts));
  // Chromium marks the end of DOMContentLoaded in the trace itself; the page's own clock is
  // the fallback.
  const contentLoaded = events.find((e) => e.name === "MarkDOMContent" && rendererMain.has(`${e.pid}:${e.tid}`));
  const dclEnd = contentLoaded ? contentLoaded.ts : origin + times.dclEnd * 1000;
  const tasks = onMain.filter((e) => (e.name === "RunTask" || e.name === "ThreadControllerImpl::RunTask") &&
    e.dur > 10000);
  const unique = [];
  for (const task of tasks.sort((a, b) => a.ts - b.ts)) {
    const last = unique[unique.length - 1];
    if (last && task.ts < last.ts + last.dur) continue;  // the same task under both names
    unique.push(task);
  }
  return unique.map((task) => {
    const inside = onMain.filter((e) => e.ts >= task.ts && e.ts + (e.dur ?? 0) <= task.ts + task.dur && e !== task);
    const what = new Map();
    for (const e of inside) {
      let name = null;
      if (e.name === "FunctionCall") name = e.args?.data?.functionName || "(anonymous)";
      else if (["EvaluateScript", "FireIdleCallback", "TimerFire", "EventDispatch", "Layout",
        "ParseHTML", "v8.compile", "MajorGC", "MinorGC", "V8.GC_MARK_COMPACTOR"].includes(e.name)) {
        name = e.name + (e.args?.data?.type ? ` ${e.args.data.type}` : "");
      }
      if (name) what.set(name, (what.get(name) ?? 0) + e.dur / 1000);
    }
    const start = (task.ts - origin) / 1000;
    return { start: Math.round(start), ms: +(task.dur / 1000).toFixed(1),
      afterDcl: task.ts > dclEnd,
      what: [...what.entries()].sort((a, b) => b[1] - a[1]).slice(0, 4)
        .map(([name, spent]) => `${name} ${spent.toFixed(1)}`) };
  });
}

// Self time per script function from Chromium's sampling profiler, while `work` runs.
// Lines of engine.js are told as lines of the engine template (engine.txt); `offset` is the
// number of lines ahead of it (the heading and the data statements).
async function profile(page, offset, work) {
  const session = await page.context().newCDPSession(page);
  await session.send("Profiler.enable");
  await session.send("Profiler.setSamplingInterval", { interval: 100 });
  await session.send("Profiler.start");
  await work();
  const { profile } = await session.send("Profiler.stop");
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  const self = new Map();
  profile.samples.forEach((id, k) => {
    const frame = byId.get(id).callFrame;
    const file = frame.url ? path.basename(frame.url) : "";
    const line = frame.lineNumber + 1;
    const where = file !== "engine.js" ? (file ? ` ${file}:${line}` : "")
      : line > offset ? ` engine.txt:${line - offset}` : " engine.js (the data statements)";
    const name = (frame.functionName || "(anonymous)") + where;
    self.set(name, (self.get(name) ?? 0) + (profile.timeDeltas[k] ?? 0) / 1000);
  });
  return [...self.entries()].sort((a, b) => b[1] - a[1]).slice(0, 12)
    .map(([name, ms]) => ({ name, ms: +ms.toFixed(1) }));
}

function linesAheadOfEngine(site, engineFile) {
  const script = fs.readFileSync(path.join(site, "engine.js"), "utf8");
  const firstLine = fs.readFileSync(engineFile, "utf8").split("\n", 1)[0];
  const at = script.indexOf(firstLine);
  return at < 0 ? 0 : script.slice(0, at).split("\n").length - 1;
}

async function whereTimeGoes(browser, options, site, engineFile) {
  const offset = linesAheadOfEngine(site, engineFile);
  const opened = await browser.open(site, "");
  let times;
  const load = await profile(opened.page, offset, async () => {
    times = await browser.load(opened);
    await waitUntilQuiet(opened.page, options.settle);
  });
  const queries = await profile(opened.page, offset, async () => {
    for (let k = 0; k < 3; k++) await timeQueries(opened.page, TYPICAL);
  });
  const letters = await profile(opened.page, offset, async () => {
    for (let k = 0; k < 3; k++) await timeQueries(opened.page, ONE_LETTER);
  });
  await browser.close(opened);
  const first = await browser.open(site, FIRST_SEARCH, { wantsResults: true });
  const firstSearch = await profile(first.page, offset, async () => { await browser.load(first); });
  await browser.close(first);
  return { times, load, queries, letters, firstSearch };
}

// Every query asked right after the page is ready, before its deferred work is done, and again
// once the page has been quiet: the results shown (links in order) must be the same.
async function earlyAgainstSettled(browser, options, site) {
  const queries = [...TYPICAL, ...ONE_LETTER];
  const shownLinks = (page) => page.evaluate((queries) => queries.map((query) => {
    document.forms.form1.sub.value = query;
    const start = performance.now();
    dolt();
    void document.body.offsetHeight;
    const ms = performance.now() - start;
    return { ms, links: [...document.querySelectorAll("a.tv-link")].map((a) => a.getAttribute("href")).join(" ") };
  }), queries);
  const opened = await browser.open(site, "");
  await browser.load(opened);
  const early = await shownLinks(opened.page);
  await waitUntilQuiet(opened.page, options.settle);
  const settled = await shownLinks(opened.page);
  await browser.close(opened);
  return { differing: queries.filter((q, k) => early[k].links !== settled[k].links),
    earlyMs: early.map((e) => e.ms) };
}

// ---- Ranking on the manual pages ---------------------------------------------------------

async function ranking(browser, options, sites, column) {
  const opened = await browser.open(sites.manual[column.key], "");
  await browser.load(opened);
  await waitUntilQuiet(opened.page, options.settle);
  const out = {};
  for (const check of RANKING) {
    out[check.query] = await opened.page.evaluate(async ({ query, expected, engine }) => {
      if (!engine) {
        const links = window.peerRanking(query, 1e6);
        return { at: links.indexOf(expected) + 1, of: links.length };
      }
      document.forms.form1.sub.value = query;
      dolt();
      const more = document.querySelector("button.tv-more");
      let links = [];
      for (;;) {
        links = [...document.querySelectorAll("a.tv-link")].map((a) => a.getAttribute("href"));
        if (links.includes(expected) || !more || more.hidden) break;
        more.click();
      }
      const count = /([\d,]+) results?/.exec(document.querySelector("p.tv-status").textContent);
      return { at: links.indexOf(expected) + 1, of: count ? Number(count[1].replace(/,/g, "")) : links.length };
    }, { ...check, engine: column.engine });
  }
  for (const query of TYPO_COUNTS) {
    out[query] = await opened.page.evaluate(({ query, engine }) => {
      if (!engine) return { of: window.peerRanking(query, 1e6).length };
      document.forms.form1.sub.value = query;
      dolt();
      const status = document.querySelector("p.tv-status").textContent;
      const count = /([\d,]+) results?/.exec(status);
      return { of: count ? Number(count[1].replace(/,/g, "")) : 0, status };
    }, { query, engine: column.engine });
  }
  await browser.close(opened);
  return out;
}

// ---- The table ---------------------------------------------------------------------------

function percentile(values, p) {
  const sorted = values.filter((v) => Number.isFinite(v)).sort((a, b) => a - b);
  if (!sorted.length) return NaN;
  return sorted[Math.min(sorted.length - 1, Math.ceil(p * sorted.length) - 1)];
}
const median = (values) => percentile(values, 0.5);
const warm = (rounds) => rounds.slice(1).flat().filter((v) => v !== undefined);
const fresh = (rounds) => rounds[0];
const ms = (v) => (Number.isFinite(v) ? (v >= 100 ? v.toFixed(0) : v.toFixed(1)) : "–");
const ordinal = (n) => n + (n % 100 >= 11 && n % 100 <= 13 ? "th" : ["th", "st", "nd", "rd"][n % 10] ?? "th");

function table(options, speed, ranks, made) {
  const columns = columnsOf(options);
  const floor = median(warm(speed.floor.ready)), array = median(warm(speed.array.ready));
  const cell = (key, f) => (speed[key] ? f(speed[key]) : "–");
  const rows = [
    ["typical query, search + top 50 laid out: median (warm)", (s) => ms(median(warm(s.typical))), "≤ FlexSearch"],
    ["  fresh run (round 1)", (s) => ms(median(fresh(s.typical))), ""],
    ["typical query p95 (warm)", (s) => ms(percentile(warm(s.typical), 0.95)), "≤ 25"],
    ["  fresh run p95", (s) => ms(percentile(fresh(s.typical), 0.95)), ""],
    ["one-letter query: median (warm)", (s) => ms(median(warm(s.oneLetter))), "≤ 10"],
    ["one-letter query p95 (warm)", (s) => ms(percentile(warm(s.oneLetter), 0.95)), ""],
    ["  fresh run p95", (s) => ms(percentile(fresh(s.oneLetter), 0.95)), ""],
    ["page ready from navigation start (warm)", (s) => ms(median(warm(s.ready))), ""],
    ["  fresh run", (s) => ms(fresh(s.ready)[0]), ""],
    ["main thread quiet (deferred work done), from navigation start (warm)", (s) => ms(median(warm(s.quiet ?? []))), ""],
    ["page ready / do-nothing engine (floor)", (s) => (median(warm(s.ready)) / floor).toFixed(2) + "x", "≤ 1.15x"],
    ["page ready / captions as one array, no engine", (s) => (median(warm(s.ready)) / array).toFixed(2) + "x", ""],
    ["first search at DOMContentLoaded, to its results (warm)", (s) => (s.firstSearch ? ms(median(warm(s.firstSearch))) : "–"), "< 100"],
    ["  fresh run", (s) => (s.firstSearch ? ms(fresh(s.firstSearch)[0]) : "–"), ""],
    ["  the same from navigation start (warm)", (s) => (s.firstSearchFromStart ? ms(median(warm(s.firstSearchFromStart))) : "–"), ""],
  ];
  const lines = [];
  lines.push(`| ${GROWN_ITEMS.toLocaleString("en")} items (engine.js ${(made.engineBytes / 1e6).toFixed(1)} MB), ms | ` +
    columns.map((c) => c.label).join(" | ") + " | target |");
  lines.push("|---|" + columns.map(() => "---|").join("") + "---|");
  for (const [what, f, target] of rows) {
    lines.push(`| ${what} | ` + columns.map((c) => cell(c.key, f)).join(" | ") + ` | ${target} |`);
  }
  const longRow = (f) => columns.map((c) => (c.engine && ranks.long[c.key] ? f(ranks.long[c.key]) : "–")).join(" | ");
  lines.push(`| tasks over 10 ms after DOMContentLoaded, until quiet | ` +
    longRow((t) => { const after = t.filter((x) => x.afterDcl); return after.length ? `${after.length}, longest ${Math.max(...after.map((x) => x.ms))}` : "0"; }) + " | 0 |");
  lines.push("| queries right after page ready, before the deferred work: median / slowest | " +
    columns.map((c) => {
      const e = ranks.early[c.key];
      return e ? `${ms(median(e.earlyMs))} / ${ms(Math.max(...e.earlyMs))}` : "–";
    }).join(" | ") + " | |");
  lines.push("| ... their results the same as once the page is quiet | " + columns.map((c) => {
    const e = ranks.early[c.key];
    return e ? (e.differing.length ? `no: ${e.differing.map((q) => "`" + q + "`").join(", ")}` : "yes") : "–";
  }).join(" | ") + " | yes |");
  lines.push(`| **ranking, ${made.sizes.manual.toLocaleString("en")} manual pages** | ` + columns.map(() => "").join(" | ") + " | |");
  for (const check of RANKING) {
    lines.push(`| \`${check.query}\`: ${check.what} | ` + columns.map((c) => {
      const r = ranks.order[c.key]?.[check.query];
      return r ? (r.at ? `${ordinal(r.at)} of ${r.of}` : `not in ${r.of}`) : "–";
    }).join(" | ") + " | 1st |");
  }
  for (const query of TYPO_COUNTS) {
    lines.push(`| \`${query}\`: results | ` + columns.map((c) => String(ranks.order[c.key]?.[query]?.of ?? "–")).join(" | ") + " | |");
  }
  lines.push("");
  lines.push(`Floors, page ready (warm median, fresh run): the same engine.js with a do-nothing engine ` +
    `${ms(floor)} ms (fresh ${ms(fresh(speed.floor.ready)[0])}); the same captions as one array and no engine ` +
    `${ms(array)} ms (fresh ${ms(fresh(speed.array.ready)[0])}).`);
  const slow = columns.filter((c) => speed[c.key] && isSlow(speed[c.key])).map((c) => c.label);
  if (slow.length) {
    lines.push(`${slow.join(", ")}: queries over ${SLOW_QUERY} ms, timed in rounds 1 and 2 only.`);
  }
  lines.push(`${options.rounds} rounds (round 1 fresh), interleaved; typical = ${TYPICAL.length} queries ` +
    `(${TYPICAL.map((q) => "`" + q + "`").join(", ")}), one-letter = ${ONE_LETTER.join(" ")}; ` +
    `first search: \`?q=${FIRST_SEARCH}\`.`);
  return lines.join("\n");
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  const made = makeSites(options);
  process.stderr.write(`sites in ${options.out}: ${made.sizes.grown} and ${made.sizes.manual} items\n`);
  const browser = await Browser.start();
  const version = browser.chromium.version();
  const speed = await speedRounds(browser, options, made.sites);
  const ranks = { order: {}, long: {}, profile: {}, early: {} };
  for (const column of columnsOf(options)) {
    if (column.searches) ranks.order[column.key] = await ranking(browser, options, made.sites, column);
    if (column.engine) {
      ranks.long[column.key] = await longTasks(browser, options, made.sites.grown[column.key]);
      ranks.early[column.key] = await earlyAgainstSettled(browser, options, made.sites.grown[column.key]);
      ranks.profile[column.key] = await whereTimeGoes(browser, options, made.sites.grown[column.key],
        options.engines.find((e) => e.label === column.key).file);
    }
  }
  await browser.stop();
  console.log(`Chromium ${version}, headless; ${new Date().toISOString()}\n`);
  console.log(table(options, speed, ranks, made));
  for (const column of columnsOf(options).filter((c) => c.engine)) {
    const shown = speed[column.key].shown;
    console.log(`\n${column.label}: results shown per typical query: ` +
      Object.entries(shown).map(([q, n]) => `${q} ${n}`).join(", "));
    const perQuery = (rounds, queries) => queries.map((q, k) =>
      `${q} ${ms(median(rounds.slice(1).map((times) => times?.[k])))}`).join(", ");
    console.log(`${column.label}: warm median per query: ` +
      perQuery(speed[column.key].typical, TYPICAL) + "; " + perQuery(speed[column.key].oneLetter, ONE_LETTER));
    const after = ranks.long[column.key].filter((t) => t.afterDcl);
    console.log(`${column.label}: tasks over 10 ms after DOMContentLoaded: ` + (after.map((t) =>
      `at ${t.start} ms: ${t.ms} ms [${t.what.join("; ")}]`).join(", ") || "none"));
    const where = ranks.profile[column.key];
    for (const [phase, what] of [["load and the quiet time after it", where.load],
      ["typical queries x3", where.queries], ["one-letter queries x3", where.letters],
      ["load with ?q= until its results", where.firstSearch]]) {
      console.log(`${column.label}: CPU profile, ${phase} (self ms): ` +
        what.slice(0, 10).map((f) => `${f.name} ${f.ms}`).join(", "));
    }
  }
  if (options.json) {
    fs.writeFileSync(options.json, JSON.stringify({ version, options, speed, ranks }, null, 1));
  }
}

main().catch((error) => {
  console.error(`page_vs_libraries: ${error.stack || error}`);
  process.exit(1);
});
