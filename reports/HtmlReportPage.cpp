#include "HtmlReportPage.h"

namespace tessel::reports {

// Chinese text prefers a Ming face: the ones Linux, Windows and macOS ship
// under their usual names, then any serif face.
const std::string_view kHtmlStyle = R"CSS(
:root{--n:2;--ming:"AR PL UMing TW","AR PL UMing TW MBE","AR PL UMing HK",
"AR PL New Sung","Noto Serif CJK TC","Noto Serif TC","Source Han Serif TC",
"PMingLiU","MingLiU","Songti TC","Noto Serif CJK SC","STSong",serif}
html,body{margin:0;height:100%}
body{display:flex;flex-direction:column;font:14px/1.45 system-ui,sans-serif;
color:#222;background:#fbfaf6}
#top{padding:5px 12px 6px;background:#fff;border-bottom:1px solid #ccc}
#top h1{font-size:16px;margin:0 12px 0 0;display:inline}
#verdict{display:inline;margin:0}
#verdict b{color:#8a2b1e}
#strip{display:flex;align-items:flex-end;height:26px;margin-top:5px;
background:#efeee6;cursor:pointer}
#strip i{flex:1;background:#b0412e;min-width:1px}
#strip i:hover{background:#222}
#main{flex:1;display:flex;min-height:0}
#side{width:340px;flex:none;display:flex;flex-direction:column;
background:#fff;border-right:1px solid #ccc}
#tabs{display:flex;border-bottom:1px solid #ccc}
#tabs button{flex:1;border:0;background:#f3f2ec;padding:5px;font:inherit;
cursor:pointer}
#tabs button.on{background:#fff;font-weight:bold}
#tabs:has(#tabVar) button{font-size:12px;white-space:nowrap;padding:5px 2px}
#listPane{flex:1;display:flex;flex-direction:column;min-height:0}
#listIn{position:relative}
#filters{display:flex;gap:4px;padding:4px 6px;border-bottom:1px solid #eee}
#filters select{flex:1;font:inherit;font-size:12px;min-width:0}
#count{padding:2px 8px;font-size:12px;color:#666}
#list,#vlist{flex:1;overflow-y:auto;position:relative}
#vlistIn{position:relative}
#list .row,#vlist .row{position:absolute;left:0;right:0;height:24px;line-height:24px;
padding:0 8px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;
cursor:pointer;font-size:13px;border-bottom:1px solid #f2f2f2}
#list .row:hover,#vlist .row:hover{background:#f5f0e0}
#list .row.cur{background:#ffd9a8}
#vlist .row.cur{background:#d3e4f3}
#varPane{flex:1;display:none;flex-direction:column;min-height:0}
#vpairsBox{max-height:38%;overflow-y:auto;border-bottom:1px solid #ccc;
font-size:13px}
#vpairs{border-collapse:collapse;width:100%}
#vpairs td,#vpairs th{padding:1px 8px;text-align:left;
border-bottom:1px solid #f2f2f2}
#vpairs td.r{text-align:right}
#vpairs tr[data-p]{cursor:pointer}
#vpairs tr[data-p]:hover{background:#f5f0e0}
#vpairs tr.on{background:#d3e4f3}
#vcount{padding:2px 8px;font-size:12px;color:#666}
.num{color:#555;display:inline-block;min-width:4.2em;margin-right:.4em}
.lns{color:#888;font-size:11px;margin-right:.5em}
.txt,.seg,.zh{font-family:var(--ming)}
.ag{float:right;color:#8a2b1e;font-size:11px}
.nil{color:#aaa}
#sum{flex:1;overflow:auto;padding:4px 10px;display:none;font-size:13px}
#sum h2{font-size:14px;margin:10px 0 4px}
#sum table{border-collapse:collapse;margin-bottom:6px}
#sum td,#sum th{border:1px solid #ddd;padding:1px 6px;text-align:left}
#sum td.r{text-align:right;white-space:nowrap}
#sum td.name{overflow-wrap:anywhere}
#sum code{border:1px solid #ddd;padding:0 3px;margin:1px;display:inline-block;
font-family:var(--ming)}
#view{flex:1;display:flex;flex-direction:column;min-width:0}
#heads,.chunk{display:grid;grid-template-columns:repeat(var(--n),minmax(0,1fr))}
#heads div{padding:4px 10px;background:#fff;border-bottom:1px solid #ccc;
border-right:1px solid #eee;font-weight:bold;overflow:hidden;
white-space:nowrap;text-overflow:ellipsis}
#pos{font-weight:normal;color:#666;margin-left:.6em}
#scroller{flex:1;overflow-y:auto}
.seg{white-space:pre-wrap;word-break:break-all;padding:0 10px 0 52px;
font-size:18px;line-height:1.65;border-right:1px solid #eee;
border-top:1px dotted #ecebe4}
.ln{display:inline-block;width:36px;margin-left:-44px;margin-right:8px;
color:#999;font:11px/1 monospace;text-align:right;user-select:none}
.ig{color:#bdbab0}
mark{background:#ffe28a;border-radius:2px}
mark.e{display:inline-block;width:4px;height:1.1em;vertical-align:-.15em;
background:#e0604a}
mark.cur{background:#ff9d4d;outline:2px solid #c0501a}
mark.e.cur{background:#c0501a}
.vr{border-bottom:2px dotted #6f9bc4}
.vr.cur{background:#d3e4f3;outline:2px solid #6f9bc4}
#verdict b.vr{color:#3f6f9a;border:0}
@media print{#side,#strip{display:none}}
)CSS";

const std::string_view kHtmlScript = R"JS(
(function () {
"use strict";
var root = document.documentElement;
window.addEventListener("error", function (e) {
  root.setAttribute("data-report", "error: " + e.message);
});
var N = META.n, MARK = "\uFDD0", VMARK = "\uFDD1", PER_CHUNK = 100, ROW = 24;
var $ = function (id) { return document.getElementById(id); };
root.style.setProperty("--n", N);

// The summary is written last, when the run is over; show it up front.
$("top").appendChild($("verdict"));
$("top").appendChild($("strip"));
$("sum").appendChild($("summary"));
var hasVars = !!$("varPane");
if (hasVars) $("vpairsBox").appendChild($("vpairs"));

// Cut the text into segments: each is what every source holds up to the
// next difference, plus that difference. A segment knows its first
// variant: its sources' k-th variant marks are that one's k-th successor.
var segs = [], diffs = [], vars = [], firstVar = 0, open = [[], [], []];
var line = [1, 1, 1], atStart = [true, true, true];
function countLines(t) { var c = 0, i = -1; while ((i = t.indexOf("\n", i + 1)) >= 0) c++; return c; }
function close(d) {
  var s = {t: [], l: line.slice(), b: atStart.slice(), d: -1, v: firstVar};
  firstVar = vars.length;
  for (var k = 0; k < N; k++) {
    var t = open[k].join(""); open[k] = [];
    s.t.push(t);
    line[k] += countLines(t);
    if (t.length) atStart[k] = t.charAt(t.length - 1) === "\n";
    if (d) {
      // The difference's row gave its line a number, even for an empty
      // span, so the next row goes on with that line.
      var x = d[3][k];
      line[k] += countLines(x);
      atStart[k] = x.length > 0 && x.charAt(x.length - 1) === "\n";
    }
  }
  if (d) {
    s.d = diffs.length;
    diffs.push({n: d[1], l: d[2], x: d[3], a: d[4], k: d[5], lone: d[6], seg: segs.length});
  }
  segs.push(s);
}
for (var i = 0; i < D.length; i++) {
  var it = D[i];
  if (it[0] >= 0) open[it[0]].push(it[1]);
  else if (it[0] === -2) vars.push({n: it[1], l: it[2], c: it[3], p: it[3].join("/"), seg: segs.length});
  else close(it);
}
close(null);
D = null;

function esc(s) {
  return s.replace(/[&<>\r\x00-\x08\x0b-\x1f\x7f]/g, function (c) {
    if (c === "&") return "&amp;";
    if (c === "<") return "&lt;";
    if (c === ">") return "&gt;";
    if (c === "\r") return "";
    var x = c.charCodeAt(0);
    return String.fromCharCode(x === 127 ? 0x2421 : 0x2400 + x);
  });
}
function cell(s, k) {
  var out = [], ln = s.l[k], pending = s.b[k], v = s.v;
  function num() { if (pending) { out.push("<span class=ln>" + ln + "</span>"); pending = false; } }
  function plain(t) {
    if (t.indexOf(VMARK) < 0) return esc(t);
    var q = t.split(VMARK), r = [];
    for (var i = 0; i < q.length; i++) r.push(i % 2 ? "<span class=vr data-v=" + (v++) + ">" + esc(q[i]) + "</span>" : esc(q[i]));
    return r.join("");
  }
  var parts = s.t[k].split(MARK);
  for (var p = 0; p < parts.length; p++) {
    var lines = parts[p].split("\n");
    for (var j = 0; j < lines.length; j++) {
      if (j > 0) { out.push("\n"); ln++; pending = true; }
      if (!lines[j]) continue;
      num();
      out.push(p % 2 ? "<span class=ig>" + esc(lines[j]) + "</span>" : plain(lines[j]));
    }
  }
  if (s.d >= 0) {
    num();
    var x = diffs[s.d].x[k];
    out.push("<mark data-d=" + s.d + (x ? ">" + esc(x.split(MARK).join("")) : " class=e title=\u2205>") + "</mark>");
  }
  return out.join("");
}

// The editions are drawn a chunk of segments at a time, when near sight;
// until then a chunk is an empty box of about its height.
var scroller = $("scroller"), rows = $("rows"), chunks = [];
function estimate(c) {
  var perLine = Math.max(8, Math.floor((scroller.clientWidth / N - 60) / 18));
  var h = 0;
  for (var i = c * PER_CHUNK; i < Math.min(segs.length, (c + 1) * PER_CHUNK); i++) {
    var most = 1;
    for (var k = 0; k < N; k++) {
      var ls = segs[i].t[k].split("\n"), n = 0;
      for (var j = 0; j < ls.length; j++) n += Math.max(1, Math.ceil(ls[j].length / perLine));
      if (!segs[i].t[k].length) n = 1;
      most = Math.max(most, n);
    }
    h += most * 30;
  }
  return h;
}
var observer = new IntersectionObserver(function (entries) {
  entries.forEach(function (e) { if (e.isIntersecting) draw(+e.target.dataset.c); });
}, {root: scroller, rootMargin: "1500px 0px"});
for (var c = 0; c * PER_CHUNK < segs.length; c++) {
  var div = document.createElement("div");
  div.className = "chunk"; div.dataset.c = c;
  div.style.height = estimate(c) + "px";
  rows.appendChild(div);
  chunks.push({div: div, drawn: false});
  observer.observe(div);
}
var current = -1;
function draw(c) {
  var ch = chunks[c];
  if (!ch || ch.drawn) return;
  var html = [];
  for (var i = c * PER_CHUNK; i < Math.min(segs.length, (c + 1) * PER_CHUNK); i++) {
    for (var k = 0; k < N; k++) html.push("<div class=seg>" + cell(segs[i], k) + "</div>");
  }
  ch.div.innerHTML = html.join("");
  ch.div.style.height = "";
  ch.drawn = true;
  observer.unobserve(ch.div);
  mark(current, true);
  markVar(currentVar, true);
}
function mark(d, on) {
  if (d < 0) return;
  var c = chunks[Math.floor(diffs[d].seg / PER_CHUNK)];
  c.div.querySelectorAll('mark[data-d="' + d + '"]').forEach(function (m) {
    m.classList.toggle("cur", on);
  });
}
function go(d) {
  if (d < 0 || d >= diffs.length) return;
  mark(current, false);
  current = d;
  var c = Math.floor(diffs[d].seg / PER_CHUNK);
  draw(c); draw(c - 1); draw(c + 1);
  mark(d, true);
  bring(chunks[c].div.querySelector('mark[data-d="' + d + '"]'));
  $("pos").textContent = "#" + diffs[d].n + " / " + diffs.length;
  var f = shown.indexOf(d);
  if (f >= 0) {
    var top = f * ROW;
    if (top < list.scrollTop || top > list.scrollTop + list.clientHeight - ROW) list.scrollTop = top - list.clientHeight / 3;
  }
  drawList();
}

// Brings element `m` of the editions to a third of the view's height.
function bring(m) {
  if (m) scroller.scrollTop += m.getBoundingClientRect().top - scroller.getBoundingClientRect().top - scroller.clientHeight / 3;
}

// The variants: marked lightly in the editions, listed in their own tab,
// narrowed to one pair by a click on its row.
var currentVar = -1, vlist = $("vlist"), vlistIn = $("vlistIn"), vshown = [], vpair = null;
function markVar(v, on) {
  if (v < 0) return;
  chunks[Math.floor(vars[v].seg / PER_CHUNK)].div.querySelectorAll('.vr[data-v="' + v + '"]').forEach(function (m) {
    m.classList.toggle("cur", on);
  });
}
function goVar(v) {
  if (v < 0 || v >= vars.length) return;
  markVar(currentVar, false);
  currentVar = v;
  var c = Math.floor(vars[v].seg / PER_CHUNK);
  draw(c); draw(c - 1); draw(c + 1);
  markVar(v, true);
  bring(chunks[c].div.querySelector('.vr[data-v="' + v + '"]'));
  $("pos").textContent = "\u7570\u9ad4 #" + vars[v].n + " / " + vars.length;
  var f = vshown.indexOf(v);
  if (f >= 0) {
    var top = f * ROW;
    if (top < vlist.scrollTop || top > vlist.scrollTop + vlist.clientHeight - ROW) vlist.scrollTop = top - vlist.clientHeight / 3;
  }
  drawVars();
}
function filterVars() {
  vshown = [];
  for (var v = 0; v < vars.length; v++) if (vpair === null || vars[v].p === vpair) vshown.push(v);
  vlistIn.style.height = vshown.length * ROW + "px";
  $("vcount").textContent = vshown.length + " of " + vars.length + " variants" + (vpair === null ? "" : " (" + vpair + ")");
  drawVars();
}
function drawVars() {
  var first = Math.max(0, Math.floor(vlist.scrollTop / ROW) - 5);
  var last = Math.min(vshown.length, first + Math.ceil(vlist.clientHeight / ROW) + 10);
  var html = [];
  for (var f = first; f < last; f++) {
    var x = vars[vshown[f]];
    html.push("<div class='row" + (vshown[f] === currentVar ? " cur" : "") + "' style='top:" + f * ROW +
      "px' data-v=" + vshown[f] + "><span class=num>#" + x.n + "</span><span class=lns>" +
      x.l.join("\u00b7") + "</span><span class=txt>" + esc(x.c.join(" | ")) + "</span></div>");
  }
  vlistIn.innerHTML = html.join("");
}
if (hasVars) {
  vlist.addEventListener("scroll", drawVars);
  vlistIn.addEventListener("click", function (e) {
    var r = e.target.closest(".row");
    if (r) goVar(+r.dataset.v);
  });
  $("vpairs").addEventListener("click", function (e) {
    var r = e.target.closest("tr[data-p]");
    if (!r) return;
    vpair = vpair === r.dataset.p ? null : r.dataset.p;
    $("vpairs").querySelectorAll("tr.on").forEach(function (t) { t.classList.remove("on"); });
    if (vpair !== null) r.classList.add("on");
    vlist.scrollTop = 0;
    filterVars();
  });
}

// The list of differences, drawn only where it is seen.
var list = $("list"), listIn = $("listIn"), shown = [];
function filter() {
  var lone = +$("lone").value, kind = +$("kind").value;
  shown = [];
  for (var d = 0; d < diffs.length; d++) {
    if (lone >= 0 && diffs[d].lone !== lone) continue;
    if (lone === -2 && diffs[d].a.indexOf("=") >= 0) continue;
    if (kind >= 0 && diffs[d].k !== kind) continue;
    shown.push(d);
  }
  listIn.style.height = shown.length * ROW + "px";
  $("count").textContent = shown.length + " of " + diffs.length + " differences";
  drawList();
}
function drawList() {
  var first = Math.max(0, Math.floor(list.scrollTop / ROW) - 5);
  var last = Math.min(shown.length, first + Math.ceil(list.clientHeight / ROW) + 10);
  var html = [];
  for (var f = first; f < last; f++) {
    var d = diffs[shown[f]], texts = [];
    for (var k = 0; k < N; k++) {
      var x = d.x[k].split(MARK).join("");
      texts.push(x ? esc(x) : "<span class=nil>\u2205</span>");
    }
    html.push("<div class='row" + (shown[f] === current ? " cur" : "") + "' style='top:" + f * ROW +
      "px' data-d=" + shown[f] + "><span class=num>#" + d.n + "</span><span class=lns>" +
      d.l.join("\u00b7") + "</span><span class=txt>" + texts.join(" | ") + "</span>" +
      (N > 2 ? "<span class=ag>" + esc(d.a) + "</span>" : "") + "</div>");
  }
  listIn.innerHTML = html.join("");
}
list.addEventListener("scroll", drawList);
listIn.addEventListener("click", function (e) {
  var r = e.target.closest(".row");
  if (r) go(+r.dataset.d);
});
scroller.addEventListener("click", function (e) {
  var m = e.target.closest("mark");
  if (m) go(+m.dataset.d);
  var x = e.target.closest(".vr");
  if (x) goVar(+x.dataset.v);
});
$("strip").addEventListener("click", function (e) {
  var n = e.target.dataset && e.target.dataset.first;
  if (n) go(+n - 1);
});
$("lone").onchange = $("kind").onchange = filter;
if (N < 3) $("lone").style.display = "none";
document.addEventListener("keydown", function (e) {
  if (e.target.tagName === "SELECT") return;
  var f = shown.indexOf(current);
  if (e.key === "n" || e.key === "j") go(shown[f + 1] !== undefined ? shown[f + 1] : current);
  if (e.key === "p" || e.key === "k") go(f > 0 ? shown[f - 1] : current);
});
var tabs = [["tabList", "listPane", "flex"], ["tabSum", "sum", "block"], ["tabVar", "varPane", "flex"]];
function tab(which) {
  for (var t = 0; t < tabs.length; t++) {
    if (!$(tabs[t][0])) continue;
    $(tabs[t][0]).classList.toggle("on", which === t);
    $(tabs[t][1]).style.display = which === t ? tabs[t][2] : "none";
  }
  if (which === 2) drawVars();
}
$("tabList").onclick = function () { tab(0); };
$("tabSum").onclick = function () { tab(1); };
if (hasVars) { $("tabVar").onclick = function () { tab(2); }; filterVars(); }
filter();
draw(0); draw(1);
// "#summary" opens the summary; "#d12" goes to difference 12; "#v12"
// opens the variants at variant 12.
var hash = location.hash.match(/^#(summary|d(\d+)|v(\d+))$/);
if (hash && hash[2]) go(+hash[2] - 1);
else if (hash && hash[3] && hasVars) { tab(2); goVar(+hash[3] - 1); }
else if (hash) tab(1);
root.setAttribute("data-ready-ms", Math.round(performance.now()));
root.setAttribute("data-report", "ready");
})();
)JS";

}  // namespace tessel::reports
