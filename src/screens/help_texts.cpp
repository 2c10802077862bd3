#include "screens/help_texts.h"

namespace {

constexpr Color R = HelpRed;
constexpr Color T = HelpTeal;

constexpr std::array<LegendEntry, 36> Legend{{
    {2, 48, 1, "Solid wall. Virtually unpassable.", R, 19, 0, 0},
    {2, 80, 2, "(1) Ant enemy. Removes 10% of life.", T, 19, 0, 0},
    {2, 112, 3, "(2) Devil enemy. Removes 20% of life. Turns into Ant enemy.", R, 19, 0, 0},
    {2, 144, 4, "(3) Cow enemy. Removes 30% of life. Turns into Devil enemy.", T, 19, 0, 0},
    {2, 176, 5, "(4) Chigger enemy. Removes 40% of life. Turns into Cow enemy.", R, 19, 0, 0},
    {2, 208, 6,
     "(5) Frog enemy. Removes 50% of life silently. Does not chase you. Has the ability to "
     "move into neighboring rooms.",
     T, 13, 559, 0},
    {2, 240, 7, "Horse enemy. Removes 90% of life. Very dangerous.", R, 19, 0, 0},
    {2, 272, 8, "Pig enemy. Removes 50% of life. Human bullet does not harm it.", T, 19, 0, 0},
    {2, 304, 9, "Ant producer.", R, 19, 0, 0},
    {2, 336, 10, "Devil producer. Turns into Ant producer.", T, 19, 0, 0},
    {2, 368, 11, "Cow producer. Turns into Devil producer.", R, 19, 0, 0},
    {2, 400, 12, "Frog producer.", T, 19, 0, 0},
    {2, 432, 13,
     "Random producer/enemy. Produces enemies 1 - 5. Removes 50% of life. Has the ability to "
     "move and produce into neighboring rooms.",
     R, 16, 677, 54},

    {3, 56, 14, "Horse producer. Explodes into other producers/enemies when shot.", R, 19, 0, 0},
    {3, 88, 22, "Shootable wall. Disappears if there are less than two neighboring walls.", T, 19,
     0, 0},
    {3, 120, 38, "Death field mine.", R, 19, 0, 0},
    {3, 152, 21, "Enemies can pass through this wall.", T, 19, 0, 0},
    {3, 184, 31, "Fire dart producer. Darts are deadly.", R, 19, 0, 0},
    {3, 216, 56, "Laser producer. Lasers are deadly.", T, 19, 0, 0},
    {3, 248, 18, "Gold sack. Worth 100 points.", R, 19, 0, 0},
    {3, 280, 16, "Health kit. Press the menu key, then the fire key to use.", T, 19, 0, 0},
    {3, 312, 17, "Bomb. Press menu key, then left key, then hold down fire key and move.", R, 16, 0,
     0},
    {3, 344, 15, "Heart. Revives dead player (in 2 player mode). Turns into chigger when shot.", T,
     15, 0, 0},
    {3, 376, 19, "Key.", R, 19, 0, 0},
    {3, 408, 20, "Door. Needs a key to open it.", T, 19, 0, 0},
    {3, 440, 42, "Shield. Protects player from enemies for a short period of time.", R, 19, 0, 0},

    {4, 128, 48, "Slide field directional. Slides player in a pre-set direction.", R, 19, 0, 0},
    {4, 160, 39, "Slide field omni directional. Transports player in a straight line.", T, 19, 0,
     0},
    {4, 192, 80, "Solid brick. Indicates end of grid (no rooms on the other side).", R, 19, 0, 0},
    {4, 224, 32,
     "Star spread. Multiplies itself. Turns into devil enemy when shot. Has the ability to spread "
     "into neighboring rooms.",
     T, 13, 593, 0},
    {4, 256, 33, "Baby pig producer. Can be killed. Grows into adult pig producer.", R, 19, 0, 0},
    {4, 288, 37, "Adult pig producer. Virtually indestructable.", T, 19, 0, 0},
    {4, 320, 25, "Player 1.", R, 19, 0, 0},
    {4, 352, 26, "Player 2.", T, 19, 0, 0},
    {4, 384, 23, "Player start.", T, 19, 0, 0},
    {4, 416, 24, "Level finish. Warps player to next level. Must find.", R, 19, 0, 0},
}};

constexpr std::array<CreditLine, 8> Credits{{
    {"Programming", "The TROK Mirel team"},
    {"Graphics", "The TROK Mirel team, drawn with our own tile maker"},
    {"Logo", "The TROK Mirel team"},
    {"Level designers", "The TROK Mirel level crew"},
    {"Music", "The TROK Mirel team"},
    {"Testers", "Everyone who played the test builds"},
    {"Special thanks", "To every player who sent in a level idea or a bug report"},
    {"Contact", "Questions, bugs and ideas: the issue tracker of the TROK Mirel project"},
}};

}  // namespace

std::span<const LegendEntry> HelpLegend() { return Legend; }
std::span<const CreditLine> HelpCredits() { return Credits; }
