#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TClassMainForm_8B54EB0;

// Files named from outside the window (the command line, a drop) reach the player through the
// same element inputs the buttons use: the list's Add and Load, and the list's selection that
// plays. Call these with links on (after StartApplication).

// Every argument that names a playlist is opened as "Open list" opens one (a later playlist
// replaces an earlier one); then every playable file is added to the top, so that the list
// reads in argument order, and the first of them plays as a click on it would. Answers the
// arguments that are neither, in order.
std::vector<std::string> OpenArguments(TClassMainForm_8B54EB0& player,
                                       const std::vector<std::string>& arguments);

// What a click on a row does: it becomes current and the list reports the selection, so the
// selection hub plays it. False, and nothing done, when there is no such row.
bool PlayRow(TClassMainForm_8B54EB0& player, std::int32_t row);

// Adds dropped files to the top of the list so that it reads in drop order, a playlist by its
// non-empty lines; files of other kinds are left out. Nothing starts playing.
void AddDroppedFiles(TClassMainForm_8B54EB0& player, const std::vector<std::string>& paths);

// Lets the player's window take dropped files (DragAcceptFiles); each WM_DROPFILES is added as
// AddDroppedFiles says and its handle released.
void AcceptDroppedFiles(TClassMainForm_8B54EB0& player);
