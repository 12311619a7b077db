#!/usr/bin/env python3
"""Writes network (.vme), pump (.vmpm) and component (.vmco) files straight
from the byte layout of the records, independently of the C++ writer.

The tests load what this script writes and save it again: the bytes must come
back identical. Keep it free of anything but the standard library and of any
knowledge of the C++ classes: only the record layouts below.

    write_vme.py OUTPUT_DIR       writes every sample into OUTPUT_DIR

Samples:
    empty.vme          a cleared network (default settings, default pipe, water)
    sample.vme         nodes 3, 7, 12 and 1000; pipes 2, 5, 9 and 1000 with
                       fittings, a pump, a component and a flow control; one
                       closed pipe, two loops, imperial units, two free texts
    sample_v110.vme    sample.vme with the version text "1.10"
    pump.vmpm          the pump of pipe 5 of sample.vme
    component.vmco     the component of pipe 9 of sample.vme
"""

import os
import struct
import sys

# --- field encoders --------------------------------------------------------


def u8(value):
    return struct.pack("<B", value)


def i32(value):
    return struct.pack("<i", value)


def f64(value):
    return struct.pack("<d", value)


def short_string(text, capacity):
    """Length byte, then `capacity` Windows-1252 bytes, zero-filled."""
    encoded = text.encode("cp1252", errors="replace")[:capacity]
    return u8(len(encoded)) + encoded + b"\0" * (capacity - len(encoded))


def notes(lines, capacity=200):
    """Lines joined with CR LF and a final CR LF, stored as a short string."""
    return short_string("".join(line + "\r\n" for line in lines), capacity)


# --- records ---------------------------------------------------------------

HEADER_SIZE = 83
FLUID_SIZE = 169
NODE_SIZE = 316
PIPE_SIZE_WITHOUT_FITTINGS = 1727
FITTING_ENTRY_SIZE = 176
COMPONENT_SIZE = 168
PUMP_SIZE = 843
SETTINGS_SIZE = 123
FREE_TEXT_SIZE = 272


def checked(record, size, what):
    if len(record) != size:
        raise AssertionError(f"{what} record is {len(record)} bytes, expected {size}")
    return record


def header_record(version="1.11", file_name="", file_date=""):
    return checked(short_string(version, 24) + short_string(file_name, 40) +
                   short_string(file_date, 16), HEADER_SIZE, "header")


WATER = dict(Name="Water", Formula="H2O", Temperature_K=20 + 273.15, Pressure_bar_g=0.0,
             KinematicViscosity_cSt=1.0, DynamicViscosity_cP=1.002, Density_kg_m3=998.0,
             VapourPressure_bar_a=0.024, IsGas=0, ReservedFactor=1.0)


def fluid_record(f):
    return checked(short_string(f["Name"], 80) + short_string(f["Formula"], 30) +
                   f64(f["Temperature_K"]) + f64(f["Pressure_bar_g"]) +
                   f64(f["KinematicViscosity_cSt"]) + f64(f["DynamicViscosity_cP"]) +
                   f64(f["Density_kg_m3"]) + f64(f["VapourPressure_bar_a"]) +
                   u8(f["IsGas"]) + f64(f["ReservedFactor"]), FLUID_SIZE, "fluid")


def cleared_node():
    return dict(Name="", NodeType=3, JointSupply_m3s=0.0, JointDischarge_m3s=0.0,
                Elevation_m=0.0, SurfacePressure_bar_g=0.0, LiquidLevel_m=0.0,
                Pressure_FluidHead_m=0.0, IsPressureSet=0, X=0, Y=0, Reserved=0,
                NameLabelOffsetX=0, NameLabelOffsetY=0,
                DemandInLabelOffsetX=12, DemandInLabelOffsetY=-28,
                DemandOutLabelOffsetX=12, DemandOutLabelOffsetY=28,
                Symbol=0, Colour=16777215, Notes=[])


def node_record(n):
    record = short_string(n["Name"], 20) + u8(n["NodeType"])
    for field in ("JointSupply_m3s", "JointDischarge_m3s", "Elevation_m",
                  "SurfacePressure_bar_g", "LiquidLevel_m", "Pressure_FluidHead_m"):
        record += f64(n[field])
    record += u8(n["IsPressureSet"])
    for field in ("X", "Y", "Reserved", "NameLabelOffsetX", "NameLabelOffsetY",
                  "DemandInLabelOffsetX", "DemandInLabelOffsetY",
                  "DemandOutLabelOffsetX", "DemandOutLabelOffsetY", "Symbol", "Colour"):
        record += i32(n[field])
    record += notes(n["Notes"])
    return checked(record, NODE_SIZE, "node")


def fitting_entry(f):
    record = (i32(f["SizeIndex"]) + i32(f["ImageIndex"]) + short_string(f["Type"], 40) +
              short_string(f["MetricSize"], 16) + short_string(f["ImperialSize"], 16) +
              short_string(f["Description"], 80) + f64(f["KValue"]) + i32(f["Quantity"]))
    return checked(record, FITTING_ENTRY_SIZE, "fitting")


def cleared_component():
    return dict(Name="", Symbol=0, UseCurve=0, FixedLoss_bar=0.0, CurveFlowUnits=25,
                CurveLossUnits=49, Points=[])


def component_record(c):
    record = (short_string(c["Name"], 20) + i32(c["Symbol"]) + u8(c["UseCurve"]) +
              f64(c["FixedLoss_bar"]) + u8(c["CurveFlowUnits"]) + u8(c["CurveLossUnits"]) +
              i32(len(c["Points"])))
    points = list(c["Points"]) + [(0.0, 0.0)] * (8 - len(c["Points"]))
    for flow, loss in points:
        record += f64(flow) + f64(loss)
    return checked(record, COMPONENT_SIZE, "component")


def quadratic_through(p1, p2, p3):
    """Coefficients (A, B, C) of h = A q^2 + B q + C through three (q, h) points."""
    (x1, y1), (x2, y2), (x3, y3) = p1, p2, p3
    denominator = (x1 - x2) * (x1 - x3) * (x2 - x3)
    a = (x3 * (y2 - y1) + x2 * (y1 - y3) + x1 * (y3 - y2)) / denominator
    b = (x3 * x3 * (y1 - y2) + x2 * x2 * (y3 - y1) + x1 * x1 * (y2 - y3)) / denominator
    c = (x2 * x3 * (x2 - x3) * y1 + x3 * x1 * (x3 - x1) * y2 + x1 * x2 * (x1 - x2) * y3) / denominator
    return a, b, c


def cleared_pump():
    return dict(Name="Pump", RunsAtSetFlowRate=0, SetFlowRate_m3s=0.0, SetFlowUnits=25,
                PumpSpeed=0, PreferredOpRegionFromPercent=0, PreferredOpRegionToPercent=0,
                X=0, Y=0, Symbol=0, PumpFlowUnits=31, PumpHeadUnits=57, PumpNPSHrUnits=57,
                Points=[], Notes=[" "])


def pump_record(p):
    record = (short_string(p["Name"], 20) + u8(p["RunsAtSetFlowRate"]) +
              f64(p["SetFlowRate_m3s"]) + u8(p["SetFlowUnits"]) + i32(p["PumpSpeed"]) +
              i32(p["PreferredOpRegionFromPercent"]) + i32(p["PreferredOpRegionToPercent"]) +
              i32(p["X"]) + i32(p["Y"]) + i32(p["Symbol"]) + u8(p["PumpFlowUnits"]) +
              u8(p["PumpHeadUnits"]) + u8(p["PumpNPSHrUnits"]) + i32(len(p["Points"])))
    points = list(p["Points"]) + [(0.0, 0.0, 0.0, 0.0)] * (10 - len(p["Points"]))
    for flow, head, efficiency, npshr in points:
        record += f64(flow) + f64(head) + f64(efficiency) + f64(npshr)
    # One quadratic piece through every three consecutive (flow, head) points.
    pieces = []
    if len(p["Points"]) >= 3:
        for i in range(len(p["Points"]) - 2):
            three = [(q, h) for q, h, _, _ in p["Points"][i:i + 3]]
            pieces.append((i + 1, i + 3) + quadratic_through(*three))
    record += i32(len(pieces))
    for first, last, a, b, c in pieces + [(0, 0, 0.0, 0.0, 0.0)] * (8 - len(pieces)):
        record += i32(first) + i32(last) + f64(a) + f64(b) + f64(c)
    record += notes(p["Notes"])
    return checked(record, PUMP_SIZE, "pump")


def cleared_pipe():
    return dict(Name="", Length_m=0.0, InnerDiameter_m=0.0, InnerRoughness_m=0.0, Material="",
                SizeClass=0, NominalSize="", SpareText="", Schedule="", OuterDiameter_m=0.0,
                WallThickness_m=0.0, WeightPerLength_kg_m=0.0, DiameterDataFileName="",
                LabelPositionPercent=50.0, LabelX=0, LabelY=0, FlowCorrectionFactor=1.0,
                FlowUncompressed_m3s=0.0, CalcFittings=1, Fittings=[],
                FittingsPositionPercent=50.0, FittingsX=0, FittingsY=0,
                HasComponentPressure=0, CalcComponentPressure=1, Component=cleared_component(),
                ComponentPositionPercent=0.0, ComponentX=0, ComponentY=0,
                HasFlowControl=0, CalcFlowControl=1, FlowControlName="",
                FlowControlSetFlow_m3s=0.0, FlowControlPositionPercent=0.0,
                FlowControlX=0, FlowControlY=0, HasPump=0, CalcPump=1, Pump=cleared_pump(),
                PumpDistanceFromStart_m=0.0, PumpPositionPercent=0.0, PumpElevation_m=0.0,
                Velocity_ms=0.0, ReynoldsNumber=0.0, FlowType="NotSet",
                PipeFrictionLoss_mHd_Fluid=0.0, FittingsLoss_mHd_Fluid=0.0, Notes=[])


def default_pipe():
    pipe = cleared_pipe()
    pipe.update(Name="Default Pipe", Length_m=3.048, InnerDiameter_m=0.10226,
                InnerRoughness_m=0.000046, Material="Steel", SizeClass=100, NominalSize='4"',
                Schedule="Sch. 40", OuterDiameter_m=0.1143, WallThickness_m=0.00602,
                WeightPerLength_kg_m=16.0751)
    return pipe


def pipe_record(p):
    record = (short_string(p["Name"], 20) + f64(p["Length_m"]) + f64(p["InnerDiameter_m"]) +
              f64(p["InnerRoughness_m"]) + short_string(p["Material"], 40) + i32(p["SizeClass"]) +
              short_string(p["NominalSize"], 20) + short_string(p["SpareText"], 20) +
              short_string(p["Schedule"], 20) + f64(p["OuterDiameter_m"]) +
              f64(p["WallThickness_m"]) + f64(p["WeightPerLength_kg_m"]) +
              short_string(p["DiameterDataFileName"], 100) + f64(p["LabelPositionPercent"]) +
              i32(p["LabelX"]) + i32(p["LabelY"]) + f64(p["FlowCorrectionFactor"]) +
              f64(p["FlowUncompressed_m3s"]) + u8(p["CalcFittings"]) + i32(len(p["Fittings"])))
    for fitting in p["Fittings"]:
        record += fitting_entry(fitting)
    record += (f64(p["FittingsPositionPercent"]) + i32(p["FittingsX"]) + i32(p["FittingsY"]) +
               i32(p["HasComponentPressure"]) + u8(p["CalcComponentPressure"]) +
               short_string(p["Component"]["Name"], 20) + component_record(p["Component"]) +
               f64(p["ComponentPositionPercent"]) + i32(p["ComponentX"]) + i32(p["ComponentY"]) +
               i32(p["HasFlowControl"]) + u8(p["CalcFlowControl"]) +
               short_string(p["FlowControlName"], 20) + f64(p["FlowControlSetFlow_m3s"]) +
               f64(p["FlowControlPositionPercent"]) + i32(p["FlowControlX"]) +
               i32(p["FlowControlY"]) + i32(p["HasPump"]) + u8(p["CalcPump"]) +
               pump_record(p["Pump"]) + f64(p["PumpDistanceFromStart_m"]) +
               f64(p["PumpPositionPercent"]) + f64(p["PumpElevation_m"]) + f64(p["Velocity_ms"]) +
               f64(p["ReynoldsNumber"]) + short_string(p["FlowType"], 30) +
               f64(p["PipeFrictionLoss_mHd_Fluid"]) + f64(p["FittingsLoss_mHd_Fluid"]) +
               notes(p["Notes"]))
    expected = PIPE_SIZE_WITHOUT_FITTINGS + FITTING_ENTRY_SIZE * len(p["Fittings"])
    return checked(record, expected, "pipe")


METRIC_UNITS = [0, 1, 1, 25, 14, 55, 19, 6, 10, 44, 0, 0, 22, 44, 79]
IMPERIAL_UNITS = [2, 3, 3, 31, 15, 57, 18, 8, 12, 45, 2, 2, 23, 45, 80]
DEFAULT_FLAGS = [0, 1, 0, 1, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0, 0, 0, 1]


def default_settings():
    return dict(GaugePressure=1, AtmosphericPressure=1.01325, AtmosphereUnit=60,
                Units=list(METRIC_UNITS), Flags=list(DEFAULT_FLAGS),
                FlowBalancingTolerance=1e-6, PressureBalancingToleranceApprox=0.2,
                PressureBalancingToleranceFinal=1e-5, MaxIterationsApproxSolution=200,
                MaxIterationsFinalSolution=5000, DeltaQReductionFactor=0.1,
                MinVelocityDischarge=0.1, MaxVelocityDischarge=50.0, LiquidHighVelocity=5.0,
                GasHighVelocity=20.0)


def settings_record(s):
    record = u8(s["GaugePressure"]) + f64(s["AtmosphericPressure"]) + u8(s["AtmosphereUnit"])
    record += b"".join(u8(unit) for unit in s["Units"])
    record += b"".join(u8(flag) for flag in s["Flags"])
    record += (f64(s["FlowBalancingTolerance"]) + f64(s["PressureBalancingToleranceApprox"]) +
               f64(s["PressureBalancingToleranceFinal"]) +
               i32(s["MaxIterationsApproxSolution"]) + i32(s["MaxIterationsFinalSolution"]) +
               f64(s["DeltaQReductionFactor"]) + f64(s["MinVelocityDischarge"]) +
               f64(s["MaxVelocityDischarge"]) + f64(s["LiquidHighVelocity"]) +
               f64(s["GasHighVelocity"]))
    return checked(record, SETTINGS_SIZE, "settings")


def free_text_record(t):
    record = (notes(t["Text"], 250) + i32(t["X"]) + i32(t["Y"]) + i32(t["Colour"]) +
              i32(t["FontSize"]) + u8(t["Style"]) + i32(t["Angle"]))
    return checked(record, FREE_TEXT_SIZE, "free text")


# --- the file ---------------------------------------------------------------

LOOP_SLOTS = 1000


def network_file(net):
    """Items 1 to 11 of the network file in order."""
    out = header_record(net["Version"]) + u8(0) + fluid_record(net["Fluid"])
    out += i32(len(net["Nodes"]))
    for node_id in sorted(net["Nodes"]):
        out += i32(node_id) + node_record(net["Nodes"][node_id]) + i32(0)
    out += i32(len(net["Pipes"]))
    for pipe_id in sorted(net["Pipes"]):
        out += i32(pipe_id) + pipe_record(net["Pipes"][pipe_id]) + i32(0)
    for table in ("NodeLinks", "ClosedPipeLinks"):
        out += i32(len(net[table]))
        for from_id, to_id, pipe_id in net[table]:
            out += i32(from_id) + i32(to_id) + i32(pipe_id)
    out += i32(len(net["Loops"]))
    for loop in net["Loops"]:
        out += b"".join(i32(pipe_id) for pipe_id in loop + [0] * (LOOP_SLOTS - len(loop)))
    out += settings_record(net["Settings"]) + pipe_record(net["DefaultPipe"])
    out += i32(len(net["FreeTexts"]))
    for text in net["FreeTexts"]:
        out += free_text_record(text)
    return out


def empty_network():
    return dict(Version="1.11", Fluid=dict(WATER), Nodes={}, Pipes={}, NodeLinks=[],
                ClosedPipeLinks=[], Loops=[], Settings=default_settings(),
                DefaultPipe=default_pipe(), FreeTexts=[])


def sample_pump():
    pump = cleared_pump()
    pump.update(Name="Kreiselpumpe P-101", RunsAtSetFlowRate=0, SetFlowRate_m3s=0.012,
                SetFlowUnits=27, PumpSpeed=2900, PreferredOpRegionFromPercent=70,
                PreferredOpRegionToPercent=120, X=310, Y=205, Symbol=2, PumpFlowUnits=27,
                PumpHeadUnits=49, PumpNPSHrUnits=49,
                Points=[(0.0, 50.0, 0.0, 1.5), (0.01, 48.0, 55.0, 2.0),
                        (0.02, 40.0, 72.5, 3.25), (0.03, 26.0, 61.0, 5.0)],
                Notes=["Duty point 36 m³/h", "Impeller Ø 210 mm"])
    return pump


def sample_component():
    component = cleared_component()
    component.update(Name="Plate HX E-3", Symbol=1, UseCurve=1, FixedLoss_bar=0.35,
                     CurveFlowUnits=27, CurveLossUnits=48,
                     Points=[(0.0, 0.0), (0.01, 2.0), (0.02, 6.0)])
    return component


def sample_network():
    net = empty_network()
    net["Fluid"] = dict(Name="Glykol 30 % – Kühlkreis", Formula="C2H6O2", Temperature_K=278.15,
                        Pressure_bar_g=1.5, KinematicViscosity_cSt=3.25,
                        DynamicViscosity_cP=3.4125, Density_kg_m3=1050.0,
                        VapourPressure_bar_a=0.0087, IsGas=0, ReservedFactor=1.0)

    tank = cleared_node()
    tank.update(Name="T-1 Vorlage", NodeType=1, Elevation_m=12.5, SurfacePressure_bar_g=0.25,
                LiquidLevel_m=3.75, Pressure_FluidHead_m=18.4, IsPressureSet=1, X=120, Y=200,
                NameLabelOffsetX=-20, NameLabelOffsetY=30, Symbol=1, Colour=255,
                Notes=["Atmospheric tank", "Level from LT-1"])
    join = cleared_node()
    join.update(Name="N7", NodeType=0, JointSupply_m3s=0.002, JointDischarge_m3s=0.0005,
                Elevation_m=-1.25, Pressure_FluidHead_m=31.0625, X=500, Y=200,
                DemandInLabelOffsetX=14, DemandInLabelOffsetY=-30)
    end = cleared_node()
    end.update(Name="Abnehmer Süd", NodeType=2, SurfacePressure_bar_g=2.5, Elevation_m=4.0,
               Pressure_FluidHead_m=24.27, IsPressureSet=1, X=900, Y=420, Colour=65280)
    corner = cleared_node()
    corner.update(Name="N1000", NodeType=0, X=900, Y=200, Notes=["€ cost centre 4711"])
    net["Nodes"] = {3: tank, 7: join, 12: end, 1000: corner}

    elbow = dict(SizeIndex=100, ImageIndex=2, Type="PRad", MetricSize="100 mm",
                 ImperialSize='4"', Description="90° bend, r/D = 1.5", KValue=0.43, Quantity=3)
    valve = dict(SizeIndex=100, ImageIndex=9, Type="GateV", MetricSize="100 mm",
                 ImperialSize='4"', Description="Gate valve, fully open", KValue=5.1, Quantity=1)

    suction = default_pipe()
    suction.update(Name="Saugleitung", Length_m=45.5, FlowUncompressed_m3s=0.0123,
                   Fittings=[elbow, valve], FittingsPositionPercent=30.0, FittingsX=240,
                   FittingsY=200, HasPump=1, CalcPump=1, Pump=sample_pump(),
                   PumpDistanceFromStart_m=34.0, PumpPositionPercent=75.0,
                   PumpElevation_m=0.5, Velocity_ms=1.4976, ReynoldsNumber=47123.5,
                   FlowType="Turbulent", PipeFrictionLoss_mHd_Fluid=1.0625,
                   FittingsLoss_mHd_Fluid=0.7125, LabelX=300, LabelY=180,
                   Notes=["Insulated", "Trace heated"])
    exchanger = default_pipe()
    exchanger.update(Name="HX line", Length_m=120.0, HasComponentPressure=1,
                     CalcComponentPressure=0, Component=sample_component(),
                     ComponentPositionPercent=40.0, ComponentX=660, ComponentY=288,
                     FlowUncompressed_m3s=-0.0042, FlowType="Laminar")
    controlled = default_pipe()
    controlled.update(Name="Bypass", Length_m=8.25, HasFlowControl=1, CalcFlowControl=1,
                      FlowControlName="FCV-12", FlowControlSetFlow_m3s=0.004,
                      FlowControlPositionPercent=70.0, FlowControlX=780, FlowControlY=200,
                      DiameterDataFileName="Steel_ANSI_Sch40.vmpi", SpareText="spare",
                      SizeClass=-1)
    closed = cleared_pipe()
    closed.update(Name="Closed spur", Length_m=22.0, InnerDiameter_m=0.0525,
                  InnerRoughness_m=0.0000015, Material="Stainless 316L", SizeClass=50,
                  NominalSize='2"', Schedule="Sch. 10S")
    net["Pipes"] = {2: controlled, 5: suction, 9: exchanger, 1000: closed}

    net["NodeLinks"] = [(3, 7, 5), (7, 12, 9), (7, 1000, 2)]
    net["ClosedPipeLinks"] = [(1000, 12, 1000)]
    net["Loops"] = [[5, 9], [2, 1000, 9]]

    settings = default_settings()
    settings.update(GaugePressure=0, AtmosphericPressure=0.98, AtmosphereUnit=61,
                    Units=list(IMPERIAL_UNITS), MaxIterationsApproxSolution=150,
                    FlowBalancingTolerance=2.5e-7, GasHighVelocity=25.0)
    settings["Flags"][0] = 1   # ShowPipeId
    settings["Flags"][16] = 0  # ShowFlowRate off ...
    settings["Flags"][17] = 1  # ... ShowVelocity on
    net["Settings"] = settings

    pipe = default_pipe()
    pipe["Fittings"] = [dict(elbow, Quantity=2)]
    net["DefaultPipe"] = pipe

    net["FreeTexts"] = [
        dict(Text=["Kühlwasserkreis", "Stand 2024 – Rev. B"], X=140, Y=60, Colour=16711680,
             FontSize=14, Style=3, Angle=0),
        dict(Text=["€ 1.2 Mio"], X=600, Y=500, Colour=0, FontSize=8, Style=4, Angle=90),
    ]
    return net


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, "empty.vme"), network_file(empty_network()))
    write(os.path.join(folder, "sample.vme"), network_file(sample_network()))
    old = sample_network()
    old["Version"] = "1.10"
    write(os.path.join(folder, "sample_v110.vme"), network_file(old))
    write(os.path.join(folder, "pump.vmpm"), pump_record(sample_pump()))
    write(os.path.join(folder, "component.vmco"), component_record(sample_component()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
