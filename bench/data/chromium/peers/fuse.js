// Fuse.js: approximate matching anywhere in the caption (ignoreLocation), extended search so
// that each word must match (and "-word" is not special: it is left out of the query).
function makePeer(captions) {
  var index = new Fuse(captions, { ignoreLocation: true, threshold: 0.3, useExtendedSearch: true });
  return {
    search: function (query, limit) {
      var words = query.replace(/"/g, "").split(/\s+/).filter(function (w) {
        return w && w.charAt(0) !== "-";
      });
      var found = index.search(words.join(" "), { limit: limit }), ids = [];
      for (var k = 0; k < found.length; k++) ids.push(found[k].refIndex);
      return ids;
    }
  };
}
