// SPDX-License-Identifier: GPL-3.0-or-later
// The searches' common part: MoonSpeed, the results remembered by year, and the choice
// between the reference and the fast way.
#include "cycle/solar_search.h"

#include <stdexcept>
#include <string>

namespace cycle {

namespace {

astro::PlanetTerms MakeTerms(const std::string& folder) {
    return folder.empty() ? astro::PlanetTerms() : astro::PlanetTerms(folder);
}

}  // namespace

std::optional<std::uint8_t> MoonSpeedFromSetting(std::int32_t value) {
    if (value < LowestMoonSpeed || value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

SolarSearch::SolarSearch(const std::string& termFolder)
    : terms_(MakeTerms(termFolder)), site_(astro::InitSiteConstants()) {}

void SolarSearch::SetMoonSpeed(std::uint8_t degrees) {
    if (degrees != moonSpeed_) yearStarts_.clear();
    moonSpeed_ = degrees;
}

void SolarSearch::SetReuseResults(bool reuse) {
    reuse_ = reuse;
    if (!reuse) {
        yearStarts_.clear();
        solstices_.clear();
    }
}

void SolarSearch::SetReference(bool reference) {
    reference_ = reference;
    yearStarts_.clear();
    solstices_.clear();
}

astro::TCalendarDate SolarSearch::SearchYearStart(std::int32_t year) {
    if (moonSpeed_ == 0) YearStartNotFound();  // 0 < lead < 0 never holds
    return reference_ ? ReferenceYearStart(year) : FastYearStart(year);
}

void SolarSearch::YearStartNotFound() const {
    std::string text = "Jahresbeginn nicht gefunden (MoonSpeed ";
    text.append(std::to_string(moonSpeed_)).append(")");
    throw std::runtime_error(text);
}

void SolarSearch::SolsticeNotFound(std::int32_t year) {
    std::string text = "Wintersolstitium nicht gefunden (";
    text.append(std::to_string(year)).append(")");
    throw std::runtime_error(text);
}

SolsticeResult SolarSearch::SearchWinterSolstice(std::int32_t year) {
    return reference_ ? ReferenceWinterSolstice(year) : FastWinterSolstice(year);
}

astro::TCalendarDate SolarSearch::YearStart(std::int32_t year) {
    if (!reuse_) return SearchYearStart(year);
    const auto found = yearStarts_.find(year);
    if (found != yearStarts_.end()) return found->second;
    const astro::TCalendarDate date = SearchYearStart(year);
    yearStarts_.emplace(year, date);
    return date;
}

SolsticeResult SolarSearch::WinterSolstice(std::int32_t year) {
    if (!reuse_) return SearchWinterSolstice(year);
    const auto found = solstices_.find(year);
    if (found != solstices_.end()) return found->second;
    const SolsticeResult result = SearchWinterSolstice(year);
    solstices_.emplace(year, result);
    return result;
}

}  // namespace cycle
