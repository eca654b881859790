#include "ui/Accessible.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

namespace {

using Grid = std::vector<std::vector<Control*>>;

// The caption a control shows, or the caption of the label that names it.
std::string captionOf(const Form& form, const Control& c) {
    switch (c.kind()) {
        case Kind::Label:
            return static_cast<const Label&>(c).caption();
        case Kind::CommandButton:
            return static_cast<const CommandButton&>(c).caption();
        case Kind::CheckBox:
            return static_cast<const CheckBox&>(c).caption();
        case Kind::OptionButton:
            return static_cast<const OptionButton&>(c).caption();
        case Kind::Frame:
            return static_cast<const Frame&>(c).caption();
        default:
            for (const Control* x : form.controls())
                if (x->kind() == Kind::Label && static_cast<const Label*>(x)->buddy() == &c)
                    return static_cast<const Label*>(x)->caption();
            return {};
    }
}

bool captioned(Kind k) { return k == Kind::Label || k == Kind::CheckBox || k == Kind::OptionButton; }

// Controls a user works with, which a screen reader announces one by one.
bool interactive(Kind k) {
    return k == Kind::TextBox || k == Kind::CommandButton || k == Kind::CheckBox || k == Kind::OptionButton ||
           k == Kind::ComboBox || k == Kind::ScrollBar;
}

std::string rowCaption(const Form& form, const Grid& grid, std::size_t row, const Control* self,
                       const std::string& own) {
    for (std::size_t r = row + 1; r-- > 0;) {
        for (const Control* x : grid[r]) {
            if (!x || x == self || !captioned(x->kind())) continue;
            std::string s = spokenCaption(captionOf(form, *x));
            if (!s.empty() && s != own) return s;
        }
    }
    return {};
}

bool headed(const Grid& grid) {
    if (grid.empty()) return false;
    for (const Control* x : grid[0])
        if (x && x->kind() != Kind::Label) return false;
    return true;
}

// The heading of a cell's column: the first row of a grid that holds labels
// only. The columns of a form's grids line up, so a grid without headings
// has those of the nearest grid before it that has some.
std::string columnHeading(const Form& form, const Grid& grid, std::size_t row, std::size_t column) {
    const auto& grids = form.layoutGrids();
    std::size_t at = 0;
    while (at < grids.size() && &grids[at] != &grid) ++at;
    for (std::size_t i = std::min(at, grids.size()) + 1; i-- > 0;) {
        if (i >= grids.size() || !headed(grids[i])) continue;
        if (i == at && row == 0) return {};  // the heading itself
        const auto& top = grids[i][0];
        return column < top.size() && top[column] ? spokenCaption(captionOf(form, *top[column])) : std::string();
    }
    return {};
}

// Calls f(grid, row, column, control) for every cell that holds a control.
template <class F>
void eachCell(const Form& form, F&& f) {
    for (const Grid& grid : form.layoutGrids())
        for (std::size_t r = 0; r < grid.size(); ++r)
            for (std::size_t k = 0; k < grid[r].size(); ++k)
                if (const Control* c = grid[r][k]) f(grid, r, k, c);
}

}  // namespace

std::string spokenCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char ch = caption[i];
        if (ch == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];  // "&&" is a plain "&"
            continue;
        }
        if (ch != '*') out += ch;
    }
    auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!out.empty() && blank(out.back())) out.pop_back();
    if (!out.empty() && out.back() == ':') out.pop_back();
    while (!out.empty() && blank(out.back())) out.pop_back();
    std::size_t lead = 0;
    while (lead < out.size() && blank(out[lead])) ++lead;
    return out.substr(lead);
}

std::map<const Control*, AccessibleText> accessibleTexts(const Form& form) {
    std::map<const Control*, AccessibleText> texts;
    eachCell(form, [&](const Grid& grid, std::size_t r, std::size_t k, const Control* c) {
        if (c->kind() != Kind::CheckBox && c->kind() != Kind::OptionButton) return;
        if (!spokenCaption(captionOf(form, *c)).empty()) return;
        std::string name = columnHeading(form, grid, r, k);
        const std::string row = rowCaption(form, grid, r, c, {});
        if (!name.empty() && !row.empty()) name += ' ';
        name += row;
        if (!name.empty()) texts[c].name = name;
    });

    auto nameOf = [&](const Control* c) {
        auto it = texts.find(c);
        return it != texts.end() && !it->second.name.empty() ? it->second.name : spokenCaption(captionOf(form, *c));
    };
    std::map<std::string, int> uses;
    for (const Control* c : form.controls())
        if (interactive(c->kind())) ++uses[nameOf(c)];
    eachCell(form, [&](const Grid& grid, std::size_t r, std::size_t, const Control* c) {
        if (!interactive(c->kind())) return;
        const std::string name = nameOf(c);
        if (name.empty() || uses[name] < 2) return;
        std::string row = rowCaption(form, grid, r, c, name);
        if (!row.empty()) texts[c].description = std::move(row);
    });
    return texts;
}

}  // namespace ui
