#include "screens/menu_builder.h"

#include <utility>

#include "screens/menu_art.h"

Label& MenuBuilder::Caption(const std::string& id, const std::string& text, int left, int top,
                            int pixelHeight, Color color, bool underline) {
  Label& label = form_.Add<Label>(id, left, top, 0, 0, parent_);
  label.font = FontSpec{FontFace::Title, pixelHeight, true, underline};
  label.color = color;
  label.transparent = true;
  label.SetText(text);
  return label;
}

Picture& MenuBuilder::Art(const std::string& id, int left, int top, int width, int height, Image image) {
  Picture& picture = form_.Add<Picture>(id, left, top, width, height, parent_);
  picture.image = std::move(image);
  picture.stretch = true;
  return picture;
}

Picture& MenuBuilder::Art(const std::string& id, int left, int top, int width, int height,
                          std::function<Image()> maker) {
  Picture& picture = Art(id, left, top, width, height, Image());
  picture.image.MakeLater(std::move(maker));
  return picture;
}

Picture& MenuBuilder::Plate(const std::string& id, int left, int top, int width, int height,
                            std::function<void()> onClick) {
  Picture& plate = Art(id, left, top, width, height, [width, height] { return MakeButton(width, height); });
  plate.cursor = CursorKind::Hand;
  plate.onClick = std::move(onClick);
  return plate;
}

EditField& MenuBuilder::Field(const std::string& id, const std::string& text, int left, int top, int width,
                              Color color) {
  EditField& field = form_.Add<EditField>(id, left, top, width, 38, parent_);
  field.font = FontSpec{FontFace::Title, 21, true, false};
  field.color = color;
  field.background = Black;
  field.text = text;
  return field;
}
