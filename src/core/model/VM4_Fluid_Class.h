#pragma once

#include <cstddef>
#include <string>

class IStringGrid;
class TByteReader;
class TByteWriter;

// A fluid's physical properties at the temperature and pressure the user chose.
// The network holds one (the system's fluid); the fluid database many.
// Every hydraulic calculation takes its density and dynamic viscosity from here.
class TFluid {
public:
    static constexpr std::size_t kNameCapacity = 80;
    static constexpr std::size_t kFormulaCapacity = 30;
    // Name 81, Formula 31, six doubles, IsGas 1, ReservedFactor 8.
    static constexpr std::size_t kRecordSize = 169;

    std::string Name;
    // Chemical formula, free text.
    std::string Formula;
    // Temperature at which the properties hold.
    double Temperature_K = 0.0;
    // Pressure at which the properties hold (matters for gases).
    double Pressure_bar_g = 0.0;
    // Dynamic viscosity / density x 1000 when derived.
    double KinematicViscosity_cSt = 0.0;
    double DynamicViscosity_cP = 0.0;
    double Density_kg_m3 = 0.0;
    // 0 when not applicable.
    double VapourPressure_bar_a = 0.0;
    bool IsGas = false;
    // Carried through files; always 1.
    double ReservedFactor = 1.0;

    TFluid() { SetToWater(); }

    void Clear() { SetToWater(); }
    // Water at 20 °C.
    void SetToWater();
    void CopyFluid(const TFluid& source) { *this = source; }

    // Nine cells from `column`: name, formula, temperature, pressure, density,
    // dynamic viscosity, vapour pressure (absolute, "N/A" when not above
    // 0.001 bar), "Gas" or "Liquid", and `number`.
    void DisplayOnStringGrid_Metric(IStringGrid& grid, int column, int number, int row) const;
    void DisplayOnStringGrid_Imperial(IStringGrid& grid, int column, int number, int row) const;

    void WriteRecord(TByteWriter& writer) const;
    // Rejects a density or dynamic viscosity that is not a positive number:
    // every calculation divides by them.
    void ReadRecord(TByteReader& reader);

private:
    struct TDisplayUnits {
        int Temperature;
        int Pressure;
        int Density;
        int VapourPressure;
    };

    void displayOnStringGrid(IStringGrid& grid, int column, int number, int row, const TDisplayUnits& units) const;
};
