#include "ui/Accessible.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

namespace {

using Grid = std::vector<std::vector<Control*>>;

// A caption as a label shows it: "&x" as "x", "&&" as "&", without the
// blanks around it; as spoken, also without "*" and a trailing ":".
std::string captionText(const std::string& caption, bool spoken) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char ch = caption[i];
        if (ch == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];  // "&&" is a plain "&"
            continue;
        }
        if (ch != '*' || !spoken) out += ch;
    }
    auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!out.empty() && blank(out.back())) out.pop_back();
    if (spoken && !out.empty() && out.back() == ':') out.pop_back();
    while (!out.empty() && blank(out.back())) out.pop_back();
    std::size_t lead = 0;
    while (lead < out.size() && blank(out[lead])) ++lead;
    return out.substr(lead);
}

struct Cell {
    const Grid* grid = nullptr;
    std::size_t row = 0, column = 0;
};

const Label* labelOf(const Form& form, const Control& c) {
    for (const Control* x : form.controls())
        if (x->kind() == Kind::Label && static_cast<const Label*>(x)->buddy() == &c)
            return static_cast<const Label*>(x);
    return nullptr;
}

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
        default: {
            const Label* l = labelOf(form, c);
            return l ? l->caption() : std::string();
        }
    }
}

bool captioned(Kind k) { return k == Kind::Label || k == Kind::CheckBox || k == Kind::OptionButton; }

bool toggle(Kind k) { return k == Kind::CheckBox || k == Kind::OptionButton; }

// Controls a user works with, which a screen reader announces one by one.
bool interactive(Kind k) {
    return k == Kind::TextBox || k == Kind::CommandButton || k == Kind::CheckBox || k == Kind::OptionButton ||
           k == Kind::ComboBox || k == Kind::ScrollBar;
}

// A label that names nothing: a heading, a unit, a description.
bool freeLabel(const Control* c) { return c && c->kind() == Kind::Label && !static_cast<const Label*>(c)->buddy(); }

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

std::map<const Control*, Cell> cellsOf(const Form& form) {
    std::map<const Control*, Cell> cells;
    for (const Grid& grid : form.layoutGrids())
        for (std::size_t r = 0; r < grid.size(); ++r)
            for (std::size_t k = 0; k < grid[r].size(); ++k)
                if (const Control* c = grid[r][k]) cells.emplace(c, Cell{&grid, r, k});
    return cells;
}

const std::vector<Control*>* layoutRowOf(const Form& form, const Control* c) {
    for (const auto& row : form.layoutRows())
        if (std::find(row.begin(), row.end(), c) != row.end()) return &row;
    return nullptr;
}

std::size_t filled(const std::vector<Control*>& row) {
    return static_cast<std::size_t>(std::count_if(row.begin(), row.end(), [](const Control* x) { return x; }));
}

const Control* lastOf(const std::vector<Control*>& row) {
    for (auto it = row.rbegin(); it != row.rend(); ++it)
        if (*it) return *it;
    return nullptr;
}

// The name the layout gives a control that has no caption of its own to go
// by; else the label that names it, as spoken.
std::string layoutName(const Form& form, const Control& c, const Cell* cell) {
    if (!c.spokenName().empty()) return c.spokenName();
    const std::string label =
        captioned(c.kind()) || c.kind() == Kind::CommandButton ? std::string() : spokenCaption(captionOf(form, c));
    if (!cell) return label;
    const Grid& grid = *cell->grid;
    const auto& row = grid[cell->row];
    if (toggle(c.kind()) && spokenCaption(captionOf(form, c)).empty()) {
        std::string name = columnHeading(form, grid, cell->row, cell->column);
        const std::string subject = rowCaption(form, grid, cell->row, &c, {});
        if (!name.empty() && !subject.empty()) name += ' ';
        return name + subject;
    }
    if (c.kind() == Kind::ComboBox && label.empty()) return rowCaption(form, grid, cell->row, &c, {});
    // A box with a unit after it: the row's first label, then the unit.
    const Control* unit = cell->column + 1 < row.size() ? row[cell->column + 1] : nullptr;
    if (c.kind() == Kind::TextBox && unit && unit->kind() == Kind::Label &&
        (freeLabel(unit) || static_cast<const Label*>(unit)->buddy() == &c)) {
        for (std::size_t k = 0; k < cell->column; ++k) {
            if (!row[k] || row[k]->kind() != Kind::Label) continue;
            const std::string subject = spokenCaption(captionOf(form, *row[k]));
            if (!subject.empty()) return subject + " (" + spokenCaption(captionOf(form, *unit)) + ")";
        }
    }
    return label;
}

// A name made apart from others of its kind by its row's caption; a check
// box's row takes the place of the last word of its caption ("Show
// Password" in the row "Key 1": "Show Key 1").
std::string ownName(const Control& c, const std::string& name, const std::string& row) {
    if (c.kind() == Kind::CheckBox) {
        const auto blank = name.find_last_of(' ');
        if (blank != std::string::npos) return name.substr(0, blank) + ' ' + row;
    }
    return name + ' ' + row;
}

// The labels that explain an option or check box: those after it in its
// grid row and in the rows that continue it; the one alone right under it
// when it stands alone in its row; outside grids, those right after it, or
// the question right before the row of options it stands in.
std::vector<const Control*> explanation(const Form& form, const Control& c,
                                        const std::map<const Control*, Cell>& cells) {
    auto at = cells.find(&c);
    const Cell* cell = at == cells.end() ? nullptr : &at->second;
    std::vector<const Control*> out;
    if (cell) {
        const Grid& grid = *cell->grid;
        const auto& row = grid[cell->row];
        const Control* last = lastOf(row);
        if (last != &c && freeLabel(last)) out.push_back(last);
        for (std::size_t r = cell->row + 1; r < grid.size(); ++r) {
            const auto& below = grid[r];
            const bool continues = std::all_of(
                below.begin(), below.begin() + static_cast<std::ptrdiff_t>(std::min(below.size(), cell->column + 1)),
                [](const Control* x) { return !x; });
            const bool under = r == cell->row + 1 && filled(row) == 1 && filled(below) == 1;
            if ((!continues && !under) || !freeLabel(lastOf(below))) break;
            out.push_back(lastOf(below));
            if (!continues) break;
        }
        return out;
    }
    const auto& all = form.controls();
    auto placedAlone = [&](const Control* x) {
        return x->container() == c.container() && !cells.count(x) && !layoutRowOf(form, x);
    };
    if (const auto* row = layoutRowOf(form, &c)) {
        auto first = std::find(all.begin(), all.end(), row->front());
        if (first != all.begin() && freeLabel(*(first - 1)) && placedAlone(*(first - 1))) out.push_back(*(first - 1));
        return out;
    }
    for (auto it = std::find(all.begin(), all.end(), &c) + 1; it != all.end() && freeLabel(*it) && placedAlone(*it);
         ++it)
        out.push_back(*it);
    return out;
}

}  // namespace

std::string spokenCaption(const std::string& caption) { return captionText(caption, true); }

std::map<const Control*, AccessibleText> accessibleTexts(const Form& form) {
    std::map<const Control*, AccessibleText> texts;
    const auto cells = cellsOf(form);
    auto cellOf = [&](const Control* c) {
        auto it = cells.find(c);
        return it == cells.end() ? nullptr : &it->second;
    };
    for (const Control* c : form.controls()) {
        if (!interactive(c->kind()) && c->kind() != Kind::ProgressBar) continue;
        std::string name = layoutName(form, *c, cellOf(c));
        if (!name.empty()) texts[c].name = std::move(name);
    }

    // Controls of one kind that would read alike take their row's caption.
    auto nameOf = [&](const Control* c) {
        auto it = texts.find(c);
        return it != texts.end() && !it->second.name.empty() ? it->second.name : spokenCaption(captionOf(form, *c));
    };
    std::map<std::pair<Kind, std::string>, int> uses;
    for (const Control* c : form.controls())
        if (interactive(c->kind())) ++uses[{c->kind(), nameOf(c)}];
    for (const auto& [c, cell] : cells) {
        const std::string name = nameOf(c);
        if (!interactive(c->kind()) || name.empty() || uses[{c->kind(), name}] < 2) continue;
        const std::string row = rowCaption(form, *cell.grid, cell.row, c, name);
        if (!row.empty()) texts[c].name = ownName(*c, name, row);
    }

    for (const Control* c : form.controls()) {
        const Cell* cell = cellOf(c);
        if (c->kind() == Kind::ScrollBar && cell) {
            const auto& row = (*cell->grid)[cell->row];
            const Control* next = cell->column + 1 < row.size() ? row[cell->column + 1] : nullptr;
            if (freeLabel(next)) texts[c].shownValue = next;
        }
        if (!c->spokenDescription().empty()) {
            texts[c].description = c->spokenDescription();
            continue;
        }
        if (!toggle(c->kind())) continue;
        std::string description;
        for (const Control* label : explanation(form, *c, cells)) {
            if (!description.empty()) description += '\n';
            description += captionText(captionOf(form, *label), false);
        }
        if (description.empty()) continue;
        if (!c->toolTip().empty()) description += '\n' + c->toolTip();
        texts[c].description = std::move(description);
    }
    return texts;
}

}  // namespace ui
