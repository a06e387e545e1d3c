#pragma once

#include <string>

// Finding and opening the clock's manual: an HTML file beside the executable, opened with the
// user's default application through the shell.

// Tries, in order, FirstFolder\Base.html, FirstFolder\Base.htm, Base.html and Base.htm in the
// current folder, then Base.html and Base.htm in the executable's folder and last in
// ..\share\nixie\ from there (an installed layout), and opens the first that exists. An empty
// FirstFolder is skipped. When none exists and Quiet is 0, a message box "Unable to find
// documentation" says so. Returns 1 when a file was handed to the shell, else 0.
int ViewDocumentation(const std::string& BaseName, const std::string& FirstFolder, int Quiet);

// Folder, a backslash unless Folder already ends in a separator (backslash, slash) or a colon,
// then FileName.
std::string JoinPath(const std::string& Folder, const std::string& FileName);

// Opens the file at Path with the shell's "open" verb if it exists (whatever the shell then
// answers) and returns 1; returns 0 when there is no such file.
int OpenIfExists(const std::string& Path);
