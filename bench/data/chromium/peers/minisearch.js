// MiniSearch: every word must match, as a word start or one slip away (its documented
// search-as-you-type settings, with AND).
function makePeer(captions) {
  var index = new MiniSearch({ fields: ["t"], storeFields: [] });
  var documents = new Array(captions.length);
  for (var i = 0; i < captions.length; i++) documents[i] = { id: i, t: captions[i] };
  index.addAll(documents);
  var options = { prefix: true, fuzzy: 0.2, combineWith: "AND" };
  return {
    search: function (query, limit) {
      var found = index.search(query.replace(/"/g, ""), options), ids = [];
      for (var k = 0; k < found.length && k < limit; k++) ids.push(found[k].id);
      return ids;
    }
  };
}
