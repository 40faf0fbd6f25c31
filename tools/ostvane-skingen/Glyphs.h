#pragma once

// The small pictures drawn on buttons, as text patterns ('#' ink, '+' the
// second colour, anything else untouched).

#include "Painter.h"

namespace skingen::glyph {

// Caption buttons (drawn twice: a shadow one pixel down and right, then
// the glyph).
inline constexpr std::string_view Close[] = {
    "##.....##",
    "###...###",
    ".###.###.",
    "..#####..",
    "...###...",
    "..#####..",
    ".###.###.",
    "###...###",
    "##.....##",
};
inline constexpr std::string_view Maximize[] = {
    "##########",
    "##########",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "##########",
};
inline constexpr std::string_view Minimize[] = {
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    "#########",
    "#########",
};
inline constexpr std::string_view Restore[] = {
    "...#######",
    "...#######",
    "...#.....#",
    "#######..#",
    "#######..#",
    "#.....#..#",
    "#.....####",
    "#.....#...",
    "#######...",
};
inline constexpr std::string_view RollUp[] = {
    "....#....",
    "...###...",
    "..##.##..",
    ".##...##.",
    "##.....##",
};
inline constexpr std::string_view RollDown[] = {
    "##.....##",
    ".##...##.",
    "..##.##..",
    "...###...",
    "....#....",
};
// The program's emblem on the system-menu button: three hosts of a
// network.
inline constexpr std::string_view Network[] = {
    "....###....",
    "....###....",
    "....###....",
    ".....#.....",
    "..#######..",
    "..#.....#..",
    "..#.....#..",
    ".###...###.",
    ".###...###.",
    ".###...###.",
};

// Menu-bar buttons (7 pixels).
inline constexpr std::string_view SmallClose[] = {
    "##...##",
    "###.###",
    ".#####.",
    "..###..",
    ".#####.",
    "###.###",
    "##...##",
};
inline constexpr std::string_view SmallMaximize[] = {
    "########",
    "########",
    "#......#",
    "#......#",
    "#......#",
    "#......#",
    "########",
};
inline constexpr std::string_view SmallMinimize[] = {
    "........",
    "........",
    "........",
    "........",
    "........",
    "########",
    "########",
};
inline constexpr std::string_view SmallNetwork[] = {
    "..###..",
    "..###..",
    "...#...",
    ".#####.",
    ".#...#.",
    "###.###",
    "###.###",
};

// Arrows.
inline constexpr std::string_view ArrowUp[] = {
    "...#...",
    "..###..",
    ".#####.",
    "#######",
};
inline constexpr std::string_view ArrowDown[] = {
    "#######",
    ".#####.",
    "..###..",
    "...#...",
};
inline constexpr std::string_view ArrowLeft[] = {
    "...#",
    "..##",
    ".###",
    "####",
    ".###",
    "..##",
    "...#",
};
inline constexpr std::string_view ArrowRight[] = {
    "#...",
    "##..",
    "###.",
    "####",
    "###.",
    "##..",
    "#...",
};
inline constexpr std::string_view TinyUp[] = {
    "..#..",
    ".###.",
    "#####",
};
inline constexpr std::string_view TinyDown[] = {
    "#####",
    ".###.",
    "..#..",
};
inline constexpr std::string_view ChevronUp[] = {
    "..#..",
    ".###.",
    "##.##",
};
inline constexpr std::string_view ChevronDown[] = {
    "##.##",
    ".###.",
    "..#..",
};
inline constexpr std::string_view ChevronLeft[] = {
    "..#",
    ".##",
    "##.",
    ".##",
    "..#",
};
inline constexpr std::string_view ChevronRight[] = {
    "#..",
    "##.",
    ".##",
    "##.",
    "#..",
};
inline constexpr std::string_view TinyClose[] = {
    "#...#",
    ".#.#.",
    "..#..",
    ".#.#.",
    "#...#",
};
inline constexpr std::string_view Ellipsis[] = {
    "##.##.##",
    "##.##.##",
};

// Marks of check and radio boxes.
inline constexpr std::string_view Check[] = {
    "........##",
    ".......###",
    "......###.",
    "##...###..",
    "###.###...",
    ".#####....",
    "..###.....",
    "...#......",
};
inline constexpr std::string_view RadioDot[] = {
    ".###.",
    "#####",
    "#####",
    "#####",
    ".###.",
};

// Size grip: dots with a light pixel under each.
inline constexpr std::string_view SizeGrip[] = {
    "........##.",
    "........#++",
    ".........++",
    ".....##.##.",
    ".....#++#++",
    "......++.++",
    "..##.##.##.",
    "..#++#++#++",
    "...++.++.++",
};

}  // namespace skingen::glyph
