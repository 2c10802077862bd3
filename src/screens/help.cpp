#include "screens/help.h"

#include <optional>
#include <string>

#include "ui/app.h"
#include "base/keys.h"
#include "screens/help_texts.h"
#include "screens/menu_builder.h"
#include "base/jpeg_file.h"

namespace {
constexpr Color CreditYellow{255, 204, 0};

std::optional<Image> ReadTitlePicture(const std::string& path) {
  std::string error;
  return LoadJpeg(path, error);
}
}  // namespace

THelpForm::THelpForm(App& application) : ScreenForm(application, "HelpForm", 805, 573) {
  for (int page = 1; page <= 4; ++page) BuildPage(page);
  BuildAboutPage();
  BuildLegend();
  MenuBox[0]->visible = true;
  // Read when the about page is first seen: the first screen does not wait for it, and
  // a player who never looks does not hold its 0.7 MB for the whole run.
  TitleImage->image.MakeLater(
      [] {
        std::optional<Image> picture = ReadTitlePicture(TitlePicturePath);
        return picture ? std::move(*picture) : Image();
      },
      false);
}

void THelpForm::BuildPage(int page) {
  const std::string n = std::to_string(page);
  Panel& box = Add<Panel>("MenuBox" + n, 5, 5, 790, 562);
  box.background = Black;
  box.visible = false;
  MenuBox[page - 1] = &box;
  MenuBuilder pageBuilder(*this, &box);

  pageBuilder.Caption("TitleLbl" + n, "HELP / ABOUT", 294, 0, 27, KeyBlue, true);

  ReturnImage[page - 1] =
      &pageBuilder.Plate("Return" + n + "Image", 30, 482, 317, 54, [this] { Return1ImageClick(); });
  pageBuilder.Caption("ReturnCaption" + n, "Return to Main Menu", 88, 492, 24, MenuRed);
  pageBuilder.Caption("ReturnKey" + n, "ESC", 44, 494, 13, KeyBlue);

  NextImage[page - 1] =
      &pageBuilder.Plate("Next" + n + "Image", 541, 482, 157, 54, [this, page] { NextImageClick(page); });
  pageBuilder.Caption("NextCaption" + n, "Next", 610, 492, 24, MenuRed);
  pageBuilder.Caption("NextKey" + n, "N", 556, page == 1 ? 502 : 494, 13, KeyBlue);
}

void THelpForm::BuildAboutPage() {
  Panel& about = *MenuBox[0];
  MenuBuilder page(*this, &about);
  TitleImage = &page.Art("TitleImage", 24, 72, 489, 369, Image());

  // Beside the picture: one heading and one wrapped line per credit.
  constexpr int column = 530, columnWidth = 250;
  int top = 72;
  int index = 0;
  for (const CreditLine& credit : HelpCredits()) {
    const std::string n = std::to_string(index++);
    page.Caption("CreditHeading" + n, credit.heading, column, top, 15, HelpRed);
    top += 19;
    Label& text = Add<Label>("CreditLbl" + n, column + 8, top, columnWidth - 8, 0, &about);
    text.font = FontSpec{FontFace::Title, 13, true, false};
    text.color = index % 2 ? HelpTeal : CreditYellow;
    text.wordWrap = true;
    text.SetText(credit.text);
    top += text.height + 8;
  }

  page.Caption("ThanksLbl", "Thank you for playing TROK Mirel For Windows!", 24, 450, 15, CreditYellow);
}

void THelpForm::BuildLegend() {
  int index = 0;
  for (const LegendEntry& entry : HelpLegend()) {
    Panel& page = *MenuBox[entry.page - 1];
    const std::string n = std::to_string(index++);
    Picture& picture = Add<Picture>("LegendImage" + n, 40, entry.top, 32, 32, &page);
    picture.stretch = true;
    Label& caption = Add<Label>("LegendLbl" + n, 88, entry.top, entry.wrapWidth, entry.wrapHeight,
                                &page);
    caption.font = FontSpec{FontFace::Title, entry.pixelHeight, true, false};
    caption.color = entry.color;
    caption.transparent = true;
    caption.wordWrap = entry.wrapWidth > 0;
    caption.autoSize = entry.wrapHeight == 0;
    caption.SetText(entry.caption);
    legend.push_back({entry.code, &picture, &caption});
  }
}

bool THelpForm::LoadTitlePicture(const std::string& path) {
  std::optional<Image> picture = ReadTitlePicture(path);
  TitleImage->image = picture ? std::move(*picture) : Image();
  return picture.has_value();
}

int THelpForm::VisiblePage() const {
  for (int page = 1; page <= 4; ++page)
    if (MenuBox[page - 1]->visible) return page;
  return 0;
}

void THelpForm::NextImageClick(int page) {
  if (page < 1 || page > 4) return;
  MenuBox[page % 4]->visible = true;
  MenuBox[page - 1]->visible = false;
}

void THelpForm::FormShow() {
  if (!tilePicture) return;
  for (LegendItem& item : legend) item.image->image = tilePicture(item.code);
}

void THelpForm::FormKeyUp(int vk) {
  if (vk == VK::N) {
    if (const int page = VisiblePage()) NextImageClick(page);
    return;
  }
  ScreenForm::FormKeyUp(vk);
}
