#pragma once
// The message a note list is refused with, or "no error".
#include <string>

#include "music_maker/note_list.h"

inline std::string NoteListErrorOf(const std::string& text) {
  try {
    ParseNoteList(text);
  } catch (const NoteListError& e) {
    return e.what();
  }
  return "no error";
}
