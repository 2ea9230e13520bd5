// Registration of the list functions and of the file, folder and clipboard
// keywords.
#pragma once

namespace vell {

struct Interpreter;

// COUNTLIST GETLIST SETLIST ADDLIST INSERTLIST EXCHANGELIST DELETELIST
// SORTLIST FINDLIST GETKEYLIST SETKEYLIST.
void RegisterListFunctions(Interpreter& interp);

// COPY KILL RENAME MKDIR CHDIR EXIST READFILE WRITEFILE WRITEANSIFILE
// GETFOLDERFILE GETCLIPBOARD SETCLIPBOARD.
void RegisterFileKeywords(Interpreter& interp);

}  // namespace vell
