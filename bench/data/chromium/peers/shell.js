// A search library in the search page's place, for the benchmark only: after the captions
// (Captions, Links) and the library, this builds the library's index at DOMContentLoaded and
// shows its results in the same elements the page's engine makes (div#tolvane-results with
// p.tv-status and ol.tv-list > li.tv-item > a.tv-link, matched words in mark), so that the
// page's own style sheet lays them out the same way. dolt() searches, as the page's button does.
// The adapter before this file defines makePeer(captions), whose search(query, limit) returns
// the indexes of the matching captions, best first.
var dolt;

(function () {
  var PAGE_SIZE = 50;
  var peer = null, page = null;

  function element(tag, className) {
    var made = document.createElement(tag);
    made.className = className;
    return made;
  }

  function makeRegion(form) {
    var region = element("div", "tv-results tv-idle");
    region.id = "tolvane-results";
    var status = element("p", "tv-status");
    var list = element("ol", "tv-list");
    region.appendChild(status);
    region.appendChild(list);
    var anchor = form;
    while (anchor.parentNode && anchor.parentNode !== document.body) anchor = anchor.parentNode;
    document.body.insertBefore(region, anchor.nextSibling);
    return { region: region, status: status, list: list };
  }

  // The query's words, lower case, without quotes and exclusions: what to mark.
  function markedWords(query) {
    return query.toLowerCase().split(/\s+/).filter(function (w) {
      return w && w.charAt(0) !== "-";
    }).map(function (w) { return w.replace(/"/g, ""); }).filter(Boolean);
  }

  function markedCaption(caption, words) {
    var lower = caption.toLowerCase(), ranges = [];
    words.forEach(function (w) {
      for (var at = lower.indexOf(w); at >= 0; at = lower.indexOf(w, at + w.length)) {
        ranges.push([at, at + w.length]);
      }
    });
    ranges.sort(function (a, b) { return a[0] - b[0]; });
    var fragment = document.createDocumentFragment(), cursor = 0;
    ranges.forEach(function (r) {
      if (r[0] < cursor) return;
      if (r[0] > cursor) fragment.appendChild(document.createTextNode(caption.slice(cursor, r[0])));
      var mark = document.createElement("mark");
      mark.appendChild(document.createTextNode(caption.slice(r[0], r[1])));
      fragment.appendChild(mark);
      cursor = r[1];
    });
    if (cursor < caption.length) fragment.appendChild(document.createTextNode(caption.slice(cursor)));
    return fragment;
  }

  function show(query) {
    query = String(query).replace(/^\s+|\s+$/g, "");
    var found = query ? peer.search(query, PAGE_SIZE) : [];
    var words = markedWords(query), fragment = document.createDocumentFragment();
    for (var k = 0; k < found.length && k < PAGE_SIZE; k++) {
      var item = element("li", "tv-item"), link = element("a", "tv-link");
      link.setAttribute("href", Links[found[k]]);
      link.appendChild(markedCaption(Captions[found[k]], words));
      item.appendChild(link);
      fragment.appendChild(item);
    }
    page.list.textContent = "";
    page.list.appendChild(fragment);
    page.region.className = "tv-results" + (found.length ? "" : " tv-empty");
    page.status.textContent = found.length + " results for \u201c" + query + "\u201d";
  }

  function queryFromAddress() {
    var match = /[?&]q=([^&]*)/.exec(location.search);
    return match ? decodeURIComponent(match[1].replace(/\+/g, " ")) : null;
  }

  function setUp() {
    var form = document.forms.form1;
    peer = makePeer(Captions);
    page = makeRegion(form);
    page.field = form.elements.sub;
    form.addEventListener("submit", function (event) {
      event.preventDefault();
      show(page.field.value);
    });
    var asked = queryFromAddress();
    if (asked !== null) {
      page.field.value = asked;
      show(asked);
    }
  }

  dolt = function () {
    if (page) show(page.field.value);
  };
  // The ranking check needs every result, not just the first page.
  window.peerRanking = function (query, limit) {
    return peer.search(query, limit).map(function (i) { return Links[i]; });
  };
  document.addEventListener("DOMContentLoaded", setUp);
})();
