// Lunr: every word required as a word start (trailing wildcard), a whole-word match boosted,
// "-word" excluded.
function makePeer(captions) {
  var index = lunr(function () {
    this.ref("i");
    this.field("t");
    for (var i = 0; i < captions.length; i++) this.add({ i: i, t: captions[i] });
  });
  return {
    search: function (query, limit) {
      var found = index.query(function (q) {
        query.replace(/"/g, "").split(/\s+/).forEach(function (word) {
          var excluded = word.charAt(0) === "-";
          lunr.tokenizer(excluded ? word.slice(1) : word).forEach(function (token) {
            var term = token.toString();
            if (!term) return;
            if (excluded) {
              q.term(term, { presence: lunr.Query.presence.PROHIBITED });
              return;
            }
            q.term(term, { wildcard: lunr.Query.wildcard.TRAILING, presence: lunr.Query.presence.REQUIRED });
            q.term(term, { boost: 10 });
          });
        });
      });
      var ids = [];
      for (var k = 0; k < found.length && k < limit; k++) ids.push(Number(found[k].ref));
      return ids;
    }
  };
}
