#include "cli/view/view_page.h"

namespace vantrel::cli {

// Sized for a 1366x768 screen read from two metres: the verdicts and totals are the largest.
const std::string_view kViewPage = R"VIEWPAGE(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vantrel station</title>
<style>
:root { --bg: #10151c; --panel: #1b232e; --line: #2c3744; --text: #eef2f6; --dim: #9aa8b8;
        --pass: #1f9d4c; --fail: #d0302f; --run: #2f7fd8; }
* { box-sizing: border-box; }
html, body { margin: 0; height: 100%; background: var(--bg); color: var(--text);
             font-family: "Segoe UI", "Meiryo", "DejaVu Sans", "IPAPGothic", sans-serif; }
body { display: grid; grid-template-rows: auto auto 1fr; height: 100vh; overflow: hidden; }
header { display: flex; align-items: center; gap: 28px; padding: 10px 20px;
         background: var(--panel); border-bottom: 2px solid var(--line); }
header h1 { margin: 0; font-size: 28px; letter-spacing: 1px; }
.cpu { font-size: 26px; }
.cpu .label, .label { color: var(--dim); }
.link { margin-left: auto; font-size: 22px; padding: 4px 14px; border-radius: 6px; }
.link.live { background: #164b2a; }
.link.lost { background: var(--fail); font-weight: bold; }
.totals { display: grid; grid-template-columns: repeat(4, 1fr); gap: 12px; padding: 10px 20px; }
.total { background: var(--panel); border-radius: 8px; padding: 6px 16px; }
.total .label { font-size: 20px; }
.total .value { font-size: 50px; font-weight: bold; line-height: 1.1; }
.total.passed .value { color: #4fd67f; }
.total.failed .value { color: #ff6b6b; }
main { display: grid; grid-template-columns: 1fr 360px; gap: 12px; padding: 0 20px 12px;
       min-height: 0; }
.left { display: flex; flex-direction: column; gap: 12px; min-height: 0; }
.tiles { display: grid; grid-template-columns: repeat(auto-fit, minmax(280px, 1fr)); gap: 12px;
         align-content: start; flex: 1; min-height: 0; overflow: hidden; }
.waiting { font-size: 28px; color: var(--dim); padding: 20px; }
.tile { background: var(--panel); border: 3px solid var(--line); border-radius: 10px;
        padding: 10px 16px; display: flex; flex-direction: column; gap: 6px; min-height: 250px; }
.tile.running { border-color: var(--run); }
.tile.pass { background: #123d24; border-color: var(--pass); }
.tile.fail { background: #4a1515; border-color: var(--fail); }
.tile .port { font-size: 30px; font-weight: bold; overflow-wrap: anywhere; }
.tile .serial { font-size: 26px; }
.tile .phase { font-size: 24px; min-height: 1.3em; }
.bar { height: 26px; background: #0b0f14; border-radius: 6px; overflow: hidden; }
.bar .fill { height: 100%; width: 0%; background: var(--run); transition: width 0.2s; }
.tile.pass .bar .fill { background: var(--pass); }
.tile.fail .bar .fill { background: var(--fail); }
.tile .elapsed { font-size: 26px; font-variant-numeric: tabular-nums; }
.verdict { display: none; font-size: 84px; font-weight: bold; line-height: 1; text-align: center;
           border-radius: 8px; padding: 6px 0; }
.tile.pass .verdict, .tile.fail .verdict { display: block; }
.tile.pass .verdict { background: var(--pass); }
.tile.fail .verdict { background: var(--fail); }
.tile .outcome { font-size: 22px; text-align: center; }
.tile .message { font-size: 22px; font-weight: bold; overflow-wrap: anywhere; }
.tile .hint { font-size: 19px; color: #ffd6a0; overflow-wrap: anywhere; }
.files { background: var(--panel); border-radius: 8px; padding: 8px 14px; font-size: 16px; }
.files h2, .recent h2 { margin: 0 0 4px; font-size: 20px; color: var(--dim); font-weight: normal; }
.file { display: flex; gap: 14px; overflow: hidden; white-space: nowrap; }
.file .sha { font-family: monospace; color: var(--dim); overflow: hidden; text-overflow: ellipsis; }
.recent { background: var(--panel); border-radius: 8px; padding: 8px 12px; min-height: 0;
          overflow: hidden; }
.row { display: grid; grid-template-columns: 84px 1fr auto 66px; gap: 8px; font-size: 18px;
       padding: 2px 0; border-bottom: 1px solid var(--line); align-items: center; }
.row .who { overflow: hidden; white-space: nowrap; text-overflow: ellipsis; }
.row .where { color: var(--dim); font-size: 15px; max-width: 110px; overflow: hidden;
              white-space: nowrap; text-overflow: ellipsis; }
.row .mark { text-align: center; font-weight: bold; border-radius: 4px; }
.row .mark.pass { background: var(--pass); }
.row .mark.fail { background: var(--fail); }
</style>
</head>
<body>
<header>
  <h1 id="title"></h1>
  <div class="cpu"><span class="label" id="cpuLabel"></span> <span id="cpu">-</span></div>
  <div class="link lost" id="link"></div>
</header>
<section class="totals">
  <div class="total passed"><div class="label" id="passedLabel"></div><div class="value" id="passed">0</div></div>
  <div class="total failed"><div class="label" id="failedLabel"></div><div class="value" id="failed">0</div></div>
  <div class="total"><div class="label" id="yieldLabel"></div><div class="value" id="yield">-</div></div>
  <div class="total"><div class="label" id="rateLabel"></div><div class="value" id="rate">-</div></div>
</section>
<main>
  <div class="left">
    <div class="tiles" id="tiles"></div>
    <div class="files"><h2 id="filesLabel"></h2><div id="files"></div></div>
  </div>
  <div class="recent"><h2 id="recentLabel"></h2><div id="recent"></div></div>
</main>
<script>
"use strict";
const TEXTS = {
  en: { title: "Vantrel station", cpu: "CPU", passed: "Passed", failed: "Failed", yield: "Yield",
        rate: "Boards / hour", files: "Program files", recent: "Last boards",
        live: "Live", lost: "Station lost \u2014 reconnecting\u2026", waiting: "Waiting for boards\u2026",
        serial: "S/N", elapsed: "Time", pass: "PASS", fail: "FAIL", idle: "Waiting for the board",
        phases: { "choose-file": "Choose a file", "press-button": "Press the button",
          "loading-control-program": "Loading the control program",
          "adjusting-bit-rate": "Adjusting the bit rate",
          "transferring-control-program": "Sending the control program",
          "waiting-for-erase": "Erasing", "reading-user-program": "Reading the program",
          "writing": "Writing", "verifying": "Verifying", "getting-cpu-info": "Asking the CPU",
          "selecting-mat": "Selecting the memory" },
        outcomes: { "verified": "written and verified", "written": "written",
          "verify-failed": "verification failed", "failed": "failed", "aborted": "aborted" } },
  ja: { title: "Vantrel ステーション", cpu: "CPU", passed: "合格", failed: "不合格", yield: "歩留まり",
        rate: "枚 / 時", files: "プログラムファイル", recent: "最近のボード",
        live: "接続中", lost: "ステーションとの接続が切れました \u2014 再接続中\u2026",
        waiting: "ボード待ち\u2026", serial: "シリアル", elapsed: "経過", pass: "合格", fail: "不合格",
        idle: "ボード待ち",
        phases: { "choose-file": "ファイル選択", "press-button": "ボタンを押してください",
          "loading-control-program": "制御プログラム読み込み", "adjusting-bit-rate": "ビットレート調整",
          "transferring-control-program": "制御プログラム転送", "waiting-for-erase": "消去中",
          "reading-user-program": "プログラム読み込み", "writing": "書き込み中",
          "verifying": "ベリファイ中", "getting-cpu-info": "CPU 情報取得", "selecting-mat": "マット選択" },
        outcomes: { "verified": "書き込み＆ベリファイ完了", "written": "書き込み完了",
          "verify-failed": "ベリファイ失敗", "failed": "失敗", "aborted": "中断" } }
};
const T = TEXTS[String(navigator.language || "en").toLowerCase().startsWith("ja") ? "ja" : "en"];
document.documentElement.lang = T === TEXTS.ja ? "ja" : "en";
const byId = (id) => document.getElementById(id);
for (const [id, key] of [["title", "title"], ["cpuLabel", "cpu"], ["passedLabel", "passed"],
    ["failedLabel", "failed"], ["yieldLabel", "yield"], ["rateLabel", "rate"],
    ["filesLabel", "files"], ["recentLabel", "recent"], ["link", "lost"]])
  byId(id).textContent = T[key];
document.title = T.title;

// Every text from the station goes in as text.
function make(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}
const isText = (v) => typeof v === "string" || typeof v === "number";
const hex = (n) => Number(n).toString(16).toUpperCase().padStart(8, "0");

let skew = 0;  // the station's clock less the browser's
const tiles = new Map();

function newTile(port, board) {
  const t = { root: make("div", "tile"), board: typeof board === "number" ? board : 1e9 };
  for (const part of ["port", "serial", "phase", "bar", "elapsed", "verdict", "outcome",
                      "message", "hint"])
    t[part] = t.root.appendChild(make("div", part));
  t.fill = t.bar.appendChild(make("div", "fill"));
  t.port.textContent = port;
  tiles.set(port, t);
  clearTile(t);
  placeTiles();
  return t;
}
function placeTiles() {
  const box = byId("tiles");
  box.replaceChildren(...[...tiles.values()].sort((a, b) => a.board - b.board).map((t) => t.root));
  if (!tiles.size) box.appendChild(make("div", "waiting", T.waiting));
}
function clearTile(t, keepSerial) {
  t.root.className = "tile";
  if (!keepSerial) t.serial.textContent = T.serial + ": \u2014";
  for (const part of ["outcome", "message", "hint", "elapsed"]) t[part].textContent = "";
  t.phase.textContent = T.idle;
  t.fill.style.width = "0%";
  t.verdict.textContent = "";
  t.start = t.stop = null;
  t.ended = false;
}
function tileOf(ev) {
  if (!isText(ev.port)) return null;
  const port = String(ev.port);
  return tiles.get(port) || newTile(port, ev.board);
}
function phaseText(ev) {
  let text = T.phases[ev.phase] || (isText(ev.phase) ? String(ev.phase) : "");
  if (typeof ev.address === "number") text += "  " + hex(ev.address) + "H";
  if (typeof ev.seconds === "number") text += "  " + ev.seconds + " s";
  return text;
}
function clock(ms) {
  const s = Math.max(0, Math.floor(ms / 1000));
  return Math.floor(s / 60) + ":" + String(s % 60).padStart(2, "0");
}
function showElapsed(t) {
  if (t.start === null) return;
  const until = t.stop !== null ? t.stop : Date.now() + skew;
  t.elapsed.textContent = T.elapsed + " " + clock(until - t.start);
}
function showStation(ev) {
  byId("cpu").textContent = isText(ev.cpuType) ? ev.cpuType : "-";
  const files = byId("files");
  files.replaceChildren();
  for (const f of Array.isArray(ev.files) ? ev.files : []) {
    const row = files.appendChild(make("div", "file"));
    row.appendChild(make("span", "path", isText(f.path) ? f.path : ""));
    row.appendChild(make("span", "sha", isText(f.sha256) ? f.sha256 : "-"));
  }
  const n = ev.totals || {};
  byId("passed").textContent = isText(n.passed) ? n.passed : "0";
  byId("failed").textContent = isText(n.failed) ? n.failed : "0";
  byId("yield").textContent = typeof n.yield === "number" ? n.yield.toFixed(1) + " %" : "-";
  byId("rate").textContent =
      typeof n.boardsPerHour === "number" ? n.boardsPerHour.toFixed(0) : "-";
}
function addFinished(ev) {
  const row = make("div", "row");
  const when = Date.parse(ev.time);
  row.appendChild(make("span", "when",
      isNaN(when) ? "" : new Date(when).toLocaleTimeString(undefined, { hour12: false })));
  row.appendChild(make("span", "who", isText(ev.serial) ? ev.serial : "\u2014"));
  const port = isText(ev.port) ? String(ev.port) : "";
  row.appendChild(make("span", "where", port.replace(/^\/dev\//, ""))).title = port;
  const pass = ev.exitCode === 0;
  row.appendChild(make("span", "mark " + (pass ? "pass" : "fail"), pass ? T.pass : T.fail));
  const list = byId("recent");
  list.prepend(row);
  while (list.children.length > 20) list.lastChild.remove();
}
function apply(ev) {
  if (ev.kind === "snapshot") {
    tiles.clear();
    placeTiles();
    byId("recent").replaceChildren();
    showStation({});
    const now = Date.parse(ev.time);
    if (!isNaN(now)) skew = now - Date.now();
    return;
  }
  if (ev.kind === "station") return showStation(ev);
  if (ev.kind === "finished") return addFinished(ev);
  const t = tileOf(ev);
  if (!t) return;
  const at = Date.parse(ev.time);
  switch (ev.kind) {
    case "board":
      clearTile(t);
      if (isText(ev.serial)) t.serial.textContent = T.serial + ": " + ev.serial;
      break;
    case "running":
      if (ev.running === true) {
        if (t.ended) clearTile(t, true);
        t.start = isNaN(at) ? Date.now() + skew : at;
        t.root.classList.add("running");
      } else if (!isNaN(at)) {
        t.stop = at;
      }
      break;
    case "status":
      if (!t.ended) t.phase.textContent = phaseText(ev);
      break;
    case "progress":
      if (!t.ended && typeof ev.permille === "number")
        t.fill.style.width = Math.min(100, Math.max(0, ev.permille / 10)) + "%";
      break;
    case "failure":
      t.message.textContent = isText(ev.text) ? String(ev.text).trim() : String(ev.failure || "");
      break;
    case "hint":
      t.hint.textContent = isText(ev.text) ? ev.text : "";
      break;
    case "end": {
      const pass = ev.exitCode === 0;
      t.ended = true;
      t.root.className = "tile " + (pass ? "pass" : "fail");
      t.verdict.textContent = pass ? T.pass : T.fail;
      t.outcome.textContent = T.outcomes[ev.outcome] || (isText(ev.outcome) ? ev.outcome : "");
      t.phase.textContent = "";
      t.fill.style.width = "100%";
      if (t.stop === null && !isNaN(at)) t.stop = at;
      break;
    }
  }
  showElapsed(t);
}

let source = null;
let heard = 0;
function linkState(live) {
  const link = byId("link");
  link.className = "link " + (live ? "live" : "lost");
  link.textContent = live ? "\u25CF " + T.live : T.lost;
}
function connect() {
  if (source) source.close();
  source = new EventSource("/events");
  heard = Date.now();
  source.onopen = () => { heard = Date.now(); linkState(true); };
  source.onmessage = (m) => {
    heard = Date.now();
    let ev;
    try { ev = JSON.parse(m.data); } catch (e) { return; }
    if (ev && typeof ev === "object") apply(ev);
  };
  source.addEventListener("ping", () => { heard = Date.now(); });
  source.onerror = () => {
    linkState(false);
    // Refused (too many views) or gone for good: the browser will not try again by itself.
    if (source.readyState === EventSource.CLOSED) setTimeout(connect, 3000);
  };
}
setInterval(() => {
  for (const t of tiles.values()) showElapsed(t);
  // The station pings every few seconds: silence means a line that is gone.
  if (Date.now() - heard > 10000) { linkState(false); connect(); }
}, 500);
placeTiles();
linkState(false);
connect();
</script>
</body>
</html>
)VIEWPAGE";

}  // namespace vantrel::cli
