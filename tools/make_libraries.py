#!/usr/bin/env python3
"""Builds the standard data libraries that ship beside the executable.

    tools/make_libraries.py [--check] REFERENCE_DATA_DIR OUTPUT_DIR

reads the four reference CSV files (pipe_dimensions.csv, fittings_k.csv, fluids.csv,
gas_constants.csv) and writes

    OUTPUT_DIR/PipeTables/<one table per material and schedule or class>.vmpi
    OUTPUT_DIR/FittingTables/Vmn_Fittings.vmfi
    OUTPUT_DIR/FluidTables/vmn_Fluids.vmfl
    OUTPUT_DIR/FluidTables/vmn_GasConstants.vmgc

in the text layouts the program reads: CR LF line ends, a header line, one record per
line, fields joined by "~|~", numbers with "." as the decimal mark and the number of
decimals each field is written with by the program itself, so that a file the program
rewrites (after the user removes a standard entry) keeps every value. Only the Python
standard library is used. data/README.md says where every number comes from.

With --check nothing is written: the files are made in a temporary folder and compared
byte for byte with those in OUTPUT_DIR; the exit code is 1 when any differs or is missing.

Decimal arithmetic with half-up rounding is used throughout so that the written text is
the correctly rounded value of the reference number, not of its binary approximation.
"""

import csv
import filecmp
import sys
import tempfile
from decimal import ROUND_HALF_UP, Decimal
from pathlib import Path

SEPARATOR = "~|~"
LINE_END = "\r\n"
ENCODING = "cp1252"  # the program's short strings are Windows-1252

PIPE_TABLE_VERSION = "1.03"
FITTING_VERSION = "1.02"
FLUID_VERSION = "1.02"

MM_PER_INCH = Decimal("25.4")
KG_PER_LB = Decimal("0.45359237")
M_PER_FT = Decimal("0.3048")
KELVIN_AT_0_C = Decimal("273.15")

MATERIAL_CAPACITY = 40
SCHEDULE_CAPACITY = 20
NOMINAL_SIZE_CAPACITY = 20
FITTING_TYPE_CAPACITY = 40
FITTING_SIZE_TEXT_CAPACITY = 16
FITTING_DESCRIPTION_CAPACITY = 80
FLUID_NAME_CAPACITY = 80
FLUID_FORMULA_CAPACITY = 30

# Density and dynamic viscosity of a fluid are written with 6 decimals: with 3, the
# gases lose their third significant digit (air 0.01822 cP would be stored as 0.018,
# hydrogen 0.00876 as 0.009). The program writes them the same way.
PROPERTY_DECIMALS = 6

# One table per material and schedule or class: (material, schedule in the CSV) ->
# (file name, schedule text shown by the program). Steel schedule 40 is the default
# table and keeps its fixed name.
PIPE_TABLES = {
    ("Carbon steel", "Sch 10"): ("Steel_ANSI_Sch10.vmpi", "Sch 10"),
    ("Carbon steel", "Sch 40"): ("Steel_ANSI_Sch40.vmpi", "Sch 40"),
    ("Carbon steel", "STD"): ("Steel_ANSI_STD.vmpi", "STD"),
    ("Carbon steel", "Sch 80"): ("Steel_ANSI_Sch80.vmpi", "Sch 80"),
    ("Carbon steel", "XS"): ("Steel_ANSI_XS.vmpi", "XS"),
    ("Carbon steel", "Sch 160"): ("Steel_ANSI_Sch160.vmpi", "Sch 160"),
    ("Stainless steel", "Sch 5S"): ("Stainless_ANSI_Sch5S.vmpi", "Sch 5S"),
    ("Stainless steel", "Sch 10S"): ("Stainless_ANSI_Sch10S.vmpi", "Sch 10S"),
    ("Stainless steel", "Sch 40S"): ("Stainless_ANSI_Sch40S.vmpi", "Sch 40S"),
    ("Stainless steel", "Sch 80S"): ("Stainless_ANSI_Sch80S.vmpi", "Sch 80S"),
    ("Copper", "Type K"): ("Copper_ASTM_B88_TypeK.vmpi", "Type K"),
    ("Copper", "Type L"): ("Copper_ASTM_B88_TypeL.vmpi", "Type L"),
    ("Copper", "Type M"): ("Copper_ASTM_B88_TypeM.vmpi", "Type M"),
    ("PVC", "Sch 40"): ("PVC_ASTM_D1785_Sch40.vmpi", "Sch 40"),
    ("PVC", "Sch 80"): ("PVC_ASTM_D1785_Sch80.vmpi", "Sch 80"),
    ("HDPE PE100", "SDR 11 (PN16)"): ("HDPE_PE100_SDR11.vmpi", "SDR 11 (PN16)"),
    ("HDPE PE100", "SDR 17 (PN10)"): ("HDPE_PE100_SDR17.vmpi", "SDR 17 (PN10)"),
    ("Ductile iron (AWWA C151)", "Pressure Class 250"): ("DuctileIron_AWWA_C151_PC250.vmpi", "PC 250, cement lined"),
    ("Ductile iron (AWWA C151)", "Pressure Class 350"): ("DuctileIron_AWWA_C151_PC350.vmpi", "PC 350, cement lined"),
}

DUCTILE_IRON = "Ductile iron (AWWA C151)"

# Standard cement-mortar lining thickness of ductile iron pipe (AWWA C104), by nominal
# size in inches. The program derives the bore as outside diameter - 2 x wall, so the
# lining is counted in the wall of the ductile iron tables.
DUCTILE_IRON_LINING_IN = [
    (3, 12, Decimal("0.0625")),
    (14, 24, Decimal("0.09375")),
    (30, 64, Decimal("0.125")),
]

# Size class table: (upper end of a in hundredths of a millimetre, class).
SIZE_CLASS_BANDS = [
    (1, 1), (1000, 10), (1200, 12), (1500, 15), (2000, 20), (2500, 25), (3200, 32),
    (4000, 40), (5000, 50), (6500, 65), (8000, 80), (9000, 90), (10000, 100),
    (12500, 125), (15000, 150), (20000, 200), (25000, 250), (30000, 300), (40000, 400),
    (45000, 450), (50000, 500), (60000, 600), (80000, 800), (90000, 900),
    (100000, 1000), (120000, 1200), (140000, 1400),
]
SIZE_CLASS_OUTSIDE_TABLE = 1500

# Fitting symbol numbers (pictures of the fitting manager). 7 to 20 are valve
# symbols, every other number a bend-type symbol. 2, 28 and 29 to 32 are the symbols
# the K-value calculators give to the same kinds of fitting.
FITTING_SYMBOLS = {
    "ELBOW_90_STD": 0,
    "ELBOW_45_STD": 1,
    "ELBOW_90_LR": 2,
    "RETURN_BEND_180": 3,
    "TEE_RUN": 4,
    "TEE_BRANCH": 5,
    "GATE_VALVE": 7,
    "GLOBE_VALVE": 8,
    "ANGLE_VALVE": 9,
    "ANGLE_VALVE_55": 9,
    "BALL_VALVE": 10,
    "BUTTERFLY_VALVE": 11,
    "PLUG_VALVE": 12,
    "PLUG_VALVE_3WAY_RUN": 13,
    "PLUG_VALVE_3WAY_BRANCH": 13,
    "SWING_CHECK_VALVE": 14,
    "SWING_CHECK_VALVE_CLEARWAY": 15,
    "LIFT_CHECK_VALVE": 16,
    "LIFT_CHECK_VALVE_ANGLE": 17,
    "FOOT_VALVE_POPPET": 18,
    "FOOT_VALVE_HINGED": 19,
    "ENTRANCE_INWARD_PROJECTING": 21,
    "ENTRANCE_SHARP": 22,
    "EXIT": 23,
}
FITTING_SYMBOL_PREFIXES = [
    ("ENTRANCE_ROUNDED_", 28),
    ("ENLARGEMENT_GRAD", 29),
    ("CONTRACTION_GRAD", 30),
    ("ENLARGEMENT_SUDDEN_", 31),
    ("CONTRACTION_SUDDEN_", 32),
]
VALVE_SYMBOLS = range(7, 21)


class DataError(Exception):
    """A reference value that the library files cannot hold."""


def fixed(value, decimals):
    """value as fixed-point text with `decimals` places, rounded half up."""
    text = str(value.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP))
    return text[1:] if text.startswith("-") and Decimal(text) == 0 else text


def number(text, where):
    try:
        value = Decimal(text)
    except ArithmeticError:
        raise DataError(f"{where}: '{text}' is not a number") from None
    if not value.is_finite():
        raise DataError(f"{where}: '{text}' is not a finite number")
    return value


def checked_text(text, capacity, where):
    if SEPARATOR in text:
        raise DataError(f"{where}: '{text}' contains the field separator")
    if len(text) > capacity:
        raise DataError(f"{where}: '{text}' is longer than {capacity} characters")
    text.encode(ENCODING)  # raises when a character has no Windows-1252 byte
    return text


def header_line(version):
    return SEPARATOR.join([version, "", ""])


def write_library(path, version, records):
    path.parent.mkdir(parents=True, exist_ok=True)
    lines = [header_line(version)] + [SEPARATOR.join(fields) for fields in records]
    with open(path, "w", encoding=ENCODING, newline="") as out:
        out.write("".join(line + LINE_END for line in lines))


def read_csv(reference_dir, name):
    with open(reference_dir / name, encoding="utf-8", newline="") as source:
        return list(csv.DictReader(source))


# ---------------------------------------------------------------- pipe tables


def size_class(outside_diameter_in_text):
    """The class the program derives from the outside diameter it reads back.

    D = inches x 0.0254 (metres), a = trunc(D x 100000 + 0.5), then the band table.
    Done in binary floating point like the program, so that a size keeps its class
    when the program derives it again from the same file text.
    """
    outside_diameter_m = float(outside_diameter_in_text) * 0.0254
    a = int(outside_diameter_m * 100000 + 0.5)
    if a < 1:
        return SIZE_CLASS_OUTSIDE_TABLE
    for upper, band_class in SIZE_CLASS_BANDS:
        if a <= upper:
            return band_class
    return SIZE_CLASS_OUTSIDE_TABLE


def nominal_inches(nominal_size):
    """Whole inches of an NPS text such as 24" (ductile iron sizes are whole)."""
    return int(nominal_size.rstrip('"'))


def ductile_iron_lining_in(nominal_size, where):
    inches = nominal_inches(nominal_size)
    for low, high, lining in DUCTILE_IRON_LINING_IN:
        if low <= inches <= high:
            return lining
    raise DataError(f"{where}: no lining thickness for size {nominal_size}")


def pipe_record(row, schedule_text, where):
    outside_in = number(row["outside_diameter_mm"], where) / MM_PER_INCH
    wall_in = number(row["wall_thickness_mm"], where) / MM_PER_INCH
    if row["material"] == DUCTILE_IRON:
        wall_in += ductile_iron_lining_in(row["nominal_size"], where)
    roughness_in = number(row["roughness_mm"], where) / MM_PER_INCH
    # lbs/ft = kg/m x 0.3048 / 0.45359237
    weight_lb_ft = number(row["weight_kg_per_m"], where) * M_PER_FT / KG_PER_LB
    outside_text = fixed(outside_in, 3)
    return [
        checked_text(row["material"], MATERIAL_CAPACITY, where),
        checked_text(schedule_text, SCHEDULE_CAPACITY, where),
        fixed(roughness_in, 6),
        str(size_class(outside_text)),
        checked_text(row["nominal_size"], NOMINAL_SIZE_CAPACITY, where),
        fixed(wall_in, 3),
        outside_text,
        fixed(weight_lb_ft, 3),
    ]


def write_pipe_tables(reference_dir, output_dir):
    tables = {}
    for number_in_file, row in enumerate(read_csv(reference_dir, "pipe_dimensions.csv"), start=2):
        where = f"pipe_dimensions.csv line {number_in_file}"
        key = (row["material"], row["schedule_or_class"])
        if key not in PIPE_TABLES:
            raise DataError(f"{where}: no table for {key}")
        file_name, schedule_text = PIPE_TABLES[key]
        tables.setdefault(file_name, []).append(pipe_record(row, schedule_text, where))
    for file_name, records in sorted(tables.items()):
        write_library(output_dir / "PipeTables" / file_name, PIPE_TABLE_VERSION, records)
    return {name: len(records) for name, records in tables.items()}


# ---------------------------------------------------------------- fittings


def fitting_symbol(type_code, category, where):
    symbol = FITTING_SYMBOLS.get(type_code)
    if symbol is None:
        symbol = next((s for prefix, s in FITTING_SYMBOL_PREFIXES if type_code.startswith(prefix)), None)
    if symbol is None:
        raise DataError(f"{where}: no symbol for fitting type {type_code}")
    if (category == "valve") != (symbol in VALVE_SYMBOLS):
        raise DataError(f"{where}: symbol {symbol} does not suit a fitting of category {category}")
    return symbol


def fitting_record(row, where):
    size_mm = int(number(row["nominal_size_mm"], where))
    return [
        str(size_mm),
        str(fitting_symbol(row["type_code"], row["category"], where)),
        checked_text(row["type_code"], FITTING_TYPE_CAPACITY, where),
        checked_text(row["metric_size_text"], FITTING_SIZE_TEXT_CAPACITY, where),
        checked_text(row["imperial_size_text"], FITTING_SIZE_TEXT_CAPACITY, where),
        checked_text(row["description"], FITTING_DESCRIPTION_CAPACITY, where),
        fixed(number(row["k_value"], where), 2),
    ]


def write_fittings(reference_dir, output_dir):
    rows = read_csv(reference_dir, "fittings_k.csv")
    records = [fitting_record(row, f"fittings_k.csv line {i}") for i, row in enumerate(rows, start=2)]
    write_library(output_dir / "FittingTables" / "Vmn_Fittings.vmfi", FITTING_VERSION, records)
    return len(records)


# ---------------------------------------------------------------- fluids


def fluid_record(row, where):
    vapour_text = row["vapour_pressure_kPa_abs"]
    vapour_kpa = number(vapour_text, where) if vapour_text else Decimal(0)
    gas_flag = row["is_gas"]
    if gas_flag not in ("0", "1"):
        raise DataError(f"{where}: gas flag '{gas_flag}' is neither 0 nor 1")
    return [
        checked_text(row["name"], FLUID_NAME_CAPACITY, where),
        checked_text(row["formula"], FLUID_FORMULA_CAPACITY, where),
        fixed(number(row["temperature_C"], where) + KELVIN_AT_0_C, 3),
        fixed(number(row["pressure_bar_g"], where), 3),
        fixed(number(row["density_kg_m3"], where), PROPERTY_DECIMALS),
        fixed(number(row["dynamic_viscosity_cP"], where), PROPERTY_DECIMALS),
        fixed(vapour_kpa, 6),
        gas_flag,
        "0",  # origin: standard file
    ]


def write_fluids(reference_dir, output_dir):
    rows = read_csv(reference_dir, "fluids.csv")
    records = [fluid_record(row, f"fluids.csv line {i}") for i, row in enumerate(rows, start=2)]
    write_library(output_dir / "FluidTables" / "vmn_Fluids.vmfl", FLUID_VERSION, records)
    return len(records)


def gas_constant_record(row, where):
    # The constants are written as the reference states them: the program reads any
    # number of decimals here and never rewrites this file.
    numbers = [
        row["specific_gas_constant_J_per_kgK"],
        row["viscosity_at_273_15K_cP"],
        row["sutherland_constant_K"],
    ]
    for text in numbers:
        if number(text, where) <= 0:
            raise DataError(f"{where}: '{text}' is not above zero")
    return [
        checked_text(row["name"], FLUID_NAME_CAPACITY, where),
        checked_text(row["formula"], FLUID_FORMULA_CAPACITY, where),
    ] + numbers


def write_gas_constants(reference_dir, output_dir):
    rows = read_csv(reference_dir, "gas_constants.csv")
    records = [gas_constant_record(row, f"gas_constants.csv line {i}") for i, row in enumerate(rows, start=2)]
    write_library(output_dir / "FluidTables" / "vmn_GasConstants.vmgc", FLUID_VERSION, records)
    return len(records)


def write_all(reference_dir, output_dir):
    tables = write_pipe_tables(reference_dir, output_dir)
    fittings = write_fittings(reference_dir, output_dir)
    fluids = write_fluids(reference_dir, output_dir)
    gases = write_gas_constants(reference_dir, output_dir)
    summary = [f"PipeTables/{name}: {count} sizes" for name, count in sorted(tables.items())]
    summary.append(f"FittingTables/Vmn_Fittings.vmfi: {fittings} fittings")
    summary.append(f"FluidTables/vmn_Fluids.vmfl: {fluids} fluids")
    summary.append(f"FluidTables/vmn_GasConstants.vmgc: {gases} gases")
    return summary


def library_files(folder):
    return sorted(str(path.relative_to(folder)) for path in folder.rglob("*")
                  if path.is_file() and path.parts[len(folder.parts)] in ("PipeTables", "FittingTables", "FluidTables"))


def differences(made_dir, committed_dir):
    made, committed = library_files(made_dir), library_files(committed_dir)
    found = [f"missing: {name}" for name in made if name not in committed]
    found += [f"not made by this script: {name}" for name in committed if name not in made]
    found += [f"differs: {name}" for name in made
              if name in committed and not filecmp.cmp(made_dir / name, committed_dir / name, shallow=False)]
    return found


def main(argv):
    check = "--check" in argv[1:]
    arguments = [argument for argument in argv[1:] if argument != "--check"]
    if len(arguments) != 2:
        print("usage: " + __doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    reference_dir, output_dir = Path(arguments[0]), Path(arguments[1])
    try:
        if not check:
            print("\n".join(write_all(reference_dir, output_dir)))
            return 0
        with tempfile.TemporaryDirectory() as made:
            write_all(reference_dir, Path(made))
            found = differences(Path(made), output_dir)
    except (DataError, OSError, KeyError, ValueError) as error:
        print(f"make_libraries: {error}", file=sys.stderr)
        return 1
    for line in found:
        print(f"make_libraries: {line}", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
