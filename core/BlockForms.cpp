#include "BlockForms.h"

#include <array>
#include <utility>

namespace vantor {

namespace {

// A block's numbers and choices are its descriptor rows that show one, in the
// rows' order.
constexpr bool showsNumber(Shown::Kind kind) { return kind == Shown::number; }
constexpr bool showsChoice(Shown::Kind kind) { return kind == Shown::choice || kind == Shown::probe; }

template <const auto& Rows, bool (*Shows)(Shown::Kind)>
inline constexpr auto kRowsShowing = [] {
    constexpr size_t count = [] {
        size_t n = 0;
        for (const auto& row : Rows)
            n += Shows(row.shown.kind) ? 1 : 0;
        return n;
    }();
    std::array<size_t, count> at{};
    size_t n = 0;
    for (size_t i = 0; i < std::size(Rows); ++i)
        if (Shows(Rows[i].shown.kind))
            at[n++] = i;
    return at;
}();

// The member a row stores its value in, as a constant.
template <const auto& Rows, size_t I>
inline constexpr auto kMemberOf = std::get<Rows[I].value.index()>(Rows[I].value);

template <const auto& Rows>
inline constexpr auto kNumbers = []<size_t... K>(std::index_sequence<K...>) {
    constexpr const auto& at = kRowsShowing<Rows, showsNumber>;
    return std::array<NumberParameter, sizeof...(K)>{numberOf<kMemberOf<Rows, at[K]>>()...};
}(std::make_index_sequence<kRowsShowing<Rows, showsNumber>.size()>{});

template <const auto& Rows>
inline constexpr auto kChoices = []<size_t... K>(std::index_sequence<K...>) {
    constexpr const auto& at = kRowsShowing<Rows, showsChoice>;
    return std::array<ChoiceParameter, sizeof...(K)>{choiceOf<kMemberOf<Rows, at[K]>>()...};
}(std::make_index_sequence<kRowsShowing<Rows, showsChoice>.size()>{});

}  // namespace

namespace forms {
const BlockForm kCalibration{&filetypes::kCalibration, kNumbers<tables::kCalibration>, kChoices<tables::kCalibration>,
                             true};
const BlockForm kFactory{&filetypes::kFactory, kNumbers<tables::kFactory>, kChoices<tables::kFactory>, true};
const BlockForm kMaker{&filetypes::kMaker, kNumbers<tables::kMaker>, kChoices<tables::kMaker>};
const BlockForm kCan{&filetypes::kCan, kNumbers<tables::kCan>, kChoices<tables::kCan>};
}  // namespace forms

const BlockForm& formOf(const FileType& type)
{
    for (const BlockForm* form : {&forms::kCalibration, &forms::kFactory, &forms::kMaker, &forms::kCan})
        if (form->fileType == &type)
            return *form;
    return forms::kCalibration;
}

}  // namespace vantor
