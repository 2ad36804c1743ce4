var Keyword = new Array(); var Address = new Array();
Keyword [0] = 1
Keyword [1] = "First record"
Address [1] = "index.shtml"
function dolt() {
  MsgBox.document.write(' '+ ' <b>Search engine by Brakmoor Tolvane</b><br><hr>');for(var i=1; i<=Keyword[0]; i++) { MsgBox.document.write(Address[i]); }
}
