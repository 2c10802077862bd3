#pragma once
// The short names the options screen shows for the keys a player may bind.
#include <string>

// The key's name, or an empty text for a key that cannot be bound (function keys,
// Tab, Escape, Print Screen, ...).
std::string KeyName(int vk);
