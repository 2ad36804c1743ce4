// The item lists the benchmark searches: the machine's manual pages as a site would list them,
// and a 100,000-item list grown from them with varied words. Both are made the same way on
// every run (the manual pages sorted, a fixed seed for the rest), so runs on one machine compare.
import { execFileSync } from "node:child_process";

// A small, fast generator with a fixed seed (mulberry32): the same list on every run.
function seededRandom(seed) {
  let state = seed >>> 0;
  return function next() {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const MAN_LINE = /^(\S+) \(([^)]+)\)\s+- (.*)$/;

// One item per manual page: caption "name(section) - description", link
// "man/name.section.html", sorted by caption bytes so that the list does not depend on the
// order of the manual page database.
export function manualPageItems() {
  const text = execFileSync("apropos", ["-l", "."], {
    encoding: "utf8",
    maxBuffer: 64 << 20,
    env: { ...process.env, LC_ALL: "C.UTF-8", MANWIDTH: "1000" },
  });
  const items = [];
  for (const line of text.split("\n")) {
    const parts = MAN_LINE.exec(line);
    if (!parts) continue;
    const [, name, section, description] = parts;
    const link = `man/${name}.${section}.html`;
    if (link.includes("=")) continue;  // a list line's link ends at its first "="
    items.push({ name, section, description, link, caption: `${name}(${section}) - ${description}` });
  }
  items.sort((a, b) => (a.caption < b.caption ? -1 : a.caption > b.caption ? 1 : 0));
  return items;
}

// Made-up words of two to four syllables, as names and jargon of a real site add them.
function madeUpWords(random, count) {
  const syllables = ["ka", "lo", "mi", "ra", "ten", "vo", "sul", "den", "bri", "mar", "tho",
    "que", "lin", "sa", "pe", "dor", "ful", "gra", "nis", "ve", "cor", "ta", "lum", "be", "sto",
    "ri", "han", "zel", "po", "mun"];
  const words = [];
  while (words.length < count) {
    let word = "";
    for (let n = 2 + Math.floor(random() * 3); n > 0; n--) {
      word += syllables[Math.floor(random() * syllables.length)];
    }
    words.push(word);
  }
  return words;
}

// `count` items: the manual pages first, as they are, then variants of them in which about a
// third of the description's words are swapped for a word of the manual pages (drawn in
// proportion to how often it occurs there) or, one time in four, a made-up word (drawn with
// a frequency falling as 1/rank), and the name gets a second part.
export function grownItems(base, count) {
  const random = seededRandom(20261210);
  const tokens = [];
  for (const item of base) {
    for (const word of item.description.split(/\s+/)) {
      if (/^[A-Za-z][a-z]{2,}$/.test(word)) tokens.push(word.toLowerCase());
    }
  }
  const invented = madeUpWords(random, 20000);
  const harmonic = invented.reduce((sum, _, r) => sum + 1 / (r + 1), 0);
  const inventedWord = () => {
    let left = random() * harmonic;
    for (let r = 0; r < invented.length; r++) {
      left -= 1 / (r + 1);
      if (left <= 0) return invented[r];
    }
    return invented[invented.length - 1];
  };
  const variedWord = () =>
    random() < 0.25 ? inventedWord() : tokens[Math.floor(random() * tokens.length)];
  const items = base.slice(0, count);
  for (let k = items.length; k < count; k++) {
    const item = base[k % base.length];
    const name = `${item.name}-${variedWord()}`;
    const description = item.description
      .split(" ")
      .map((word) => (random() < 0.33 ? variedWord() : word))
      .join(" ");
    items.push({
      link: `man/${name}.${item.section}.html`,
      caption: `${name}(${item.section}) - ${description}`,
    });
  }
  return items;
}

// The list file's lines: link=caption.
export function listText(items) {
  return items.map((item) => `${item.link}=${item.caption}\n`).join("");
}
