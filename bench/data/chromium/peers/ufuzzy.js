// uFuzzy: its search() with the default settings; results are ranked when at most 1,000 match
// (its own default), else shown in list order.
function makePeer(captions) {
  var index = new uFuzzy({});
  return {
    search: function (query, limit) {
      var result = index.search(captions, query, 0, 1000), ids = result[0];
      if (!ids) return [];
      var info = result[1], order = result[2], out = [];
      var count = order ? order.length : ids.length;
      for (var k = 0; k < count && out.length < limit; k++) out.push(order ? info.idx[order[k]] : ids[k]);
      return out;
    }
  };
}
