// FlexSearch: a forward (word-start) index, asked for as many results as are shown.
function makePeer(captions) {
  var index = new FlexSearch.Index({ tokenize: "forward" });
  for (var i = 0; i < captions.length; i++) index.add(i, captions[i]);
  return {
    search: function (query, limit) {
      return index.search(query.replace(/"/g, ""), { limit: limit });
    }
  };
}
