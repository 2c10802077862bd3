#include "screens/key_names.h"

namespace {

struct NamedKey {
  int code;
  const char* name;
};

constexpr NamedKey NamedKeys[] = {
    {8, "Back"},   {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"},  {18, "Alt"},  {32, "Space"},
    {33, "PgUp"},  {34, "PgDn"},  {35, "End"},   {36, "Home"},  {37, "Left"}, {38, "Up"},
    {39, "Right"}, {40, "Down"},  {45, "Ins"},   {46, "Del"},   {106, "N*"},  {107, "N+"},
    {109, "N-"},   {110, "NDel"}, {111, "N/"},   {186, ";"},    {187, "+"},   {188, "<"},
    {189, "-"},    {190, ">"},    {191, "?"},    {192, "~"},    {219, "["},   {220, "|"},
    {221, "]"},    {222, "'"},
};

}  // namespace

std::string KeyName(int vk) {
  if (vk >= '0' && vk <= '9') return std::string(1, static_cast<char>(vk));
  if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk));
  if (vk >= 96 && vk <= 105) return "N" + std::string(1, static_cast<char>('0' + vk - 96));
  for (const NamedKey& k : NamedKeys)
    if (k.code == vk) return k.name;
  return {};
}
