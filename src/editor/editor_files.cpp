// The editor's file commands: new, open, save (as the game's next level when new, with
// the level's solutions beside it), save as, the picture and text exports, and
// quitting; nothing is overwritten or thrown away without asking.
#include <unistd.h>

#include <filesystem>

#include "authoring/level_picture.h"
#include "base/files.h"
#include "base/png_file.h"
#include "editor/editor_form.h"
#include "editor/file_dialog.h"
#include "editor/level_files.h"
#include "ui/app.h"

bool EditorForm::YesLosesWork(const std::string& question) {
  return app.MessageBox(BoxKind::Confirmation, question, BoxResult::No) == BoxResult::Yes;
}

bool EditorForm::ConfirmDiscard(const std::string& question) {
  return !document_->Modified() || YesLosesWork("The level has changes that are not saved. " + question);
}

void EditorForm::NewLevel() {
  if (!ConfirmDiscard("Start a new level without them?")) return;
  SetDocument(std::make_unique<LevelDocument>());
}

void EditorForm::OpenAtStart(const std::string& path) {
  OpenedLevel opened = OpenLevel(path);
  if (opened.document) SetDocument(std::move(opened.document));
  if (!opened.message.empty()) startMessage_ = opened.message;
}

void EditorForm::OfferRecovery() {
  const std::string recovery = FindRecovery(places_.gameDir, document_->Path());
  if (recovery.empty()) return;
  OpenedLevel opened = OpenLevel(recovery);
  if (!opened.document) {
    app.MessageBox(BoxKind::Error, opened.message);
    return;
  }
  const std::string& level = opened.document->Path();
  const std::string whose = level.empty() ? "a new level" : "\"" + level + "\"";
  const std::string untouched =
      level.empty() ? "" : " \"" + level + "\" itself stays as it was until you save.";
  // Yes first: the player had these changes on screen when the editor was stopped, and
  // opening them changes no level file.
  if (app.MessageBox(BoxKind::Confirmation, "The level editor was stopped before the changes to " + whose +
                                                " were saved; they were kept in \"" + recovery + "\". Open them?" +
                                                untouched) != BoxResult::Yes)
    return;
  SetDocument(std::move(opened.document));
  recoveredFrom_ = recovery;
}

void EditorForm::ForgetRecovery() {
  if (recoveredFrom_.empty()) return;
  ::unlink(recoveredFrom_.c_str());
  recoveredFrom_.clear();
}

void EditorForm::OpenLevelDialog() {
  if (!ConfirmDiscard("Open another level without them?")) return;
  std::string path;
  if (!dialog_->Ask("Open a level", document_->Path().empty() ? "FELDS/" : document_->Path(), path)) return;
  OpenedLevel opened = OpenLevel(path);
  if (opened.document) SetDocument(std::move(opened.document));
  if (!opened.message.empty())
    app.MessageBox(opened.document ? BoxKind::Message : BoxKind::Error, opened.message);
}

bool EditorForm::EnsureLevelFolderWritable() {
  if (!LevelFolderIsSharedReadOnly(places_.gameDir)) return true;
  const bool solutionsToo = SolutionFolderIsSharedReadOnly(places_.gameDir);
  if (app.MessageBox(BoxKind::Confirmation,
                     std::string("The game's levels folder is the installed one, which cannot be changed. Make a "
                                 "levels folder of your own with copies of the game's levels") +
                         (solutionsToo ? ", and one of their solutions," : "") +
                         " so that your levels can be saved and played?") != BoxResult::Yes)
    return false;
  std::string error;
  if (!MakeOwnLevelFolder(places_.gameDir, error)) {
    app.MessageBox(BoxKind::Error, error);
    return false;
  }
  // The levels can be saved now, whatever becomes of the solutions.
  if (solutionsToo && !MakeOwnSolutionFolder(places_.gameDir, error)) app.MessageBox(BoxKind::Error, error);
  return true;
}

bool EditorForm::EnsureSolutionFolderWritable() {
  if (!SolutionFolderIsSharedReadOnly(places_.gameDir)) return true;
  if (app.MessageBox(BoxKind::Confirmation,
                     "The game's solutions folder is the installed one, which cannot be changed. Make a solutions "
                     "folder of your own with copies of the game's solutions, so that your level's solutions can "
                     "be saved with it?") != BoxResult::Yes)
    return false;
  std::string error;
  if (MakeOwnSolutionFolder(places_.gameDir, error)) return true;
  app.MessageBox(BoxKind::Error, error);
  return false;
}

void EditorForm::SaveSolutionsWith(const std::string& path) {
  const Sha256Digest level = LevelDigest();
  const bool any = solutions_.For(1, level) || solutions_.For(2, level);
  if (any && InLevelFolder(path) && !EnsureSolutionFolderWritable()) {
    status_->SetText("The level is saved; its solution is not.");
    return;
  }
  const SolutionFiles files = SaveSolutions(solutions_, path, level);
  staleSolutions_ = files.outOfDate;
  ShowSolutions();
  if (!files.error.empty()) app.MessageBox(BoxKind::Error, files.error + "\nThe level is saved; its solution is not.");
}

bool EditorForm::InLevelFolder(const std::string& path) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  const fs::path folder = fs::weakly_canonical(fs::path(places_.gameDir.empty() ? "." : places_.gameDir) / "FELDS", ec);
  return !ec && fs::weakly_canonical(parent.empty() ? fs::path(".") : parent, ec) == folder && !ec;
}

bool EditorForm::WriteLevel(const std::string& path, LevelForm form) {
  if (InLevelFolder(path) && !EnsureLevelFolderWritable()) return false;
  std::string error;
  if (!SaveLevelAs(*document_, path, form, error)) {
    app.MessageBox(BoxKind::Error, error + "\nThe level is not saved.");
    return false;
  }
  document_->MarkSaved(path, form);
  ForgetRecovery();
  Changed();
  SaveSolutionsWith(path);
  return true;
}

bool EditorForm::Save() {
  gesture_.Cancel();
  if (!document_->Path().empty()) return WriteLevel(document_->Path(), document_->Form());
  // A new level becomes the game's next level.
  if (!EnsureLevelFolderWritable()) return false;
  std::string path, error;
  if (!SaveAsNextLevel(*document_, places_.gameDir, path, error)) {
    app.MessageBox(BoxKind::Error, error + "\nThe level is not saved.");
    return false;
  }
  document_->MarkSaved(path, LevelForm::LevelFile);
  ForgetRecovery();
  Changed();
  SaveSolutionsWith(path);
  const std::string file = path.substr(path.rfind('/') + 1);
  app.MessageBox(BoxKind::Message, "Saved as " + file + ": the game's level " + file.substr(5) +
                                       ", after the others. Choose it in the game's title menu.");
  return true;
}

bool EditorForm::AskName(const std::string& title, const std::string& suggestion, const std::string& own,
                         std::string& path) {
  if (!dialog_->Ask(title, suggestion, path)) return false;
  return path == own || !NameTaken(path) || YesLosesWork("\"" + path + "\" exists. Replace it?");
}

bool EditorForm::SaveAs() {
  gesture_.Cancel();
  std::string path;
  if (!AskName("Save the level as", SuggestedName(""), document_->Path(), path)) return false;
  return WriteLevel(path, FormOfName(path));
}

std::string EditorForm::SuggestedName(const std::string& extension) const {
  std::string path = document_->Path();
  if (path.empty()) {
    int number = 0;
    path = NextFreeLevelFile("", number);
  } else if (path.compare(0, places_.gameDir.size(), places_.gameDir) == 0) {
    path.erase(0, places_.gameDir.size());
  }
  if (extension.empty()) return path;
  const size_t slash = path.rfind('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.size() > 4 && base.compare(base.size() - 4, 4, ".txt") == 0) base.erase(base.size() - 4);
  return base + extension;
}

void EditorForm::ExportPicture() {
  std::string path;
  if (!AskName("Export a picture of the level (PNG)", SuggestedName(".png"), "", path)) return;
  Image picture;
  std::string error;
  if (!RenderLevelPicture(document_->Bytes(), places_.dataDir + "Objects", picture, error) ||
      !SavePng(picture, path, error)) {
    app.MessageBox(BoxKind::Error, error + "\nNo picture was written.");
    return;
  }
  app.MessageBox(BoxKind::Message, "The picture is saved as \"" + path + "\".");
}

void EditorForm::ExportText() {
  std::string path;
  if (!AskName("Export the level as text", SuggestedName(".txt"), "", path)) return;
  std::string error;
  if (!SaveLevelAs(*document_, path, LevelForm::Text, error)) {
    app.MessageBox(BoxKind::Error, error + "\nThe text was not written.");
    return;
  }
  app.MessageBox(BoxKind::Message, "The level's text form is saved as \"" + path + "\".");
}

void EditorForm::Quit() {
  if (!ConfirmDiscard("Quit without saving them?")) return;
  app.Terminate();
}

void EditorForm::FormClose() {
  if (Playing()) return;
  Quit();
}
