#pragma once

#include <array>
#include <string>

#include "core/nutrients.h"
#include "norms/activities.h"
#include "norms/harris.h"
#include "norms/person.h"

namespace velmora {

struct NormRow {
    long long nr = 0;
    std::string name;  // capacity 80
    NutrientVector values{};
};

// Protein, fat, carbohydrate, saturated, monounsaturated, polyunsaturated fat, per cent of energy.
struct IdealEnergyShares {
    float protein = 15.0f;
    float fat = 30.0f;
    float carbohydrate = 55.0f;
    float saturated = 10.0f;
    float monounsaturated = 12.5f;
    float polyunsaturated = 7.5f;
};

// What the own-norm window holds for a run: the inputs and the draft row as typed.
struct OwnNormInputs {
    std::string sex = "Kvinna";
    std::array<std::string, 5> cells{"2180", "50", "15", "30", "55"};  // kcal, age, protein %, fat %, carbohydrate %
    std::array<std::string, 87> draft{};                            // row 1 of the nutrient grid
    std::string sumText;                                            // "Summa energi%"
};

struct PerKgInputs {
    std::string sex = "Kvinna";
    std::string weight = "70";
    std::string age = "55";
    std::array<std::string, 87> draft{};
    long long perKgRowNr = 1;  // the current row of the per-kilogram table
    std::string activateCaption = "Aktivera vald norm.";
};

struct NormState {
    NutrientVector activeNorm = [] {
        NutrientVector v{};
        v.fill(100.0f);
        return v;
    }();
    std::string kind = "standardnorm";
    std::string text;
    NormRow currentRow;
    NutrientVector draftNorm{};
    std::string accessPassword = "PLOGBAR";
    OwnNormInputs own;
    PerKgInputs perKg;
    PersonProfile person;
    HarrisInputs harris;
    ActivityState activity;
};

}  // namespace velmora
