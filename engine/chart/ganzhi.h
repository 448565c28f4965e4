// Names for the numbers of stems, branches and elements, so that rule tables
// read like the tables of the almanacs. Only for use inside .cpp files.
#pragma once

#include <initializer_list>

namespace qv::gz {

enum : int { 甲, 乙, 丙, 丁, 戊, 己, 庚, 辛, 壬, 癸 };
enum : int { 子, 丑, 寅, 卯, 辰, 巳, 午, 未, 申, 酉, 戌, 亥 };
enum : int { 水, 木, 火, 土, 金 };

// A set of branches as a 12-bit mask.
constexpr unsigned BranchSet(std::initializer_list<int> branches) {
    unsigned mask = 0;
    for (int b : branches) mask |= 1u << b;
    return mask;
}

}  // namespace qv::gz
