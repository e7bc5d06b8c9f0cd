#!/usr/bin/env python3
"""Writes the example folder of korvane: five Cu K-edge transmission scans in
the 9809 layout (four with an .info companion), a fluorescence scan and a
quick scan written as other acquisition programs write them, a metadata
template, a configuration file, and filled-in common- and data-properties
files.

Run from anywhere; the files go to examples/ beside this script's folder.
The output is deterministic: the noise of every scan comes from a seeded
generator, so running the script again reproduces the same files.
"""

import math
import os
import random

HC = 12398.424360742056  # eV * Angstrom
D_SI111 = 3.1355316  # Angstrom
HB2M = 3.809986606798852  # eV * Angstrom^2, E = HB2M * k^2

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "examples")


def angle_of(energy):
    """Bragg angle in degrees of Si(111) for a photon energy in eV."""
    return math.degrees(math.asin(HC / (2.0 * D_SI111 * energy)))


def energy_of(angle):
    return HC / (2.0 * D_SI111 * math.sin(math.radians(angle)))


# ---------------------------------------------------------------- spectra


class Sample:
    """A transmission sample: its absorption mu*t as a function of energy."""

    def __init__(self, e0, jump, pre, width, features, shells, ref_jump=1.2):
        self.e0 = e0  # edge position (inflection), eV
        self.jump = jump  # edge jump in mu*t
        self.pre = pre  # mu*t just below the edge
        self.width = width  # edge broadening, eV
        self.features = features  # (energy, height in jumps, width) peaks
        self.shells = shells  # (N, R, sigma2, amplitude scale, phase)
        self.ref_jump = ref_jump  # the Cu foil in front of the I2 chamber

    def chi(self, energy):
        if energy <= self.e0 + 2.0:
            return 0.0
        k = math.sqrt((energy - self.e0) / HB2M)
        # EXAFS grows in smoothly between k = 1.5 and 3.5 1/A.
        onset = min(1.0, max(0.0, (k - 1.5) / 2.0))
        onset = onset * onset * (3 - 2 * onset)
        total = 0.0
        for n, r, sigma2, scale, phase in self.shells:
            amplitude = scale * n * 0.65 * math.exp(-0.02 * (k - 5.5) ** 2) / (k * r * r)
            total += (
                amplitude
                * math.sin(2 * k * r + phase - 0.35 * k)
                * math.exp(-2 * sigma2 * k * k)
                * math.exp(-2 * r / 8.0)
            )
        return onset * total

    def edge(self, energy):
        """The absorption of the Cu atoms alone: what their fluorescence follows."""
        step = 0.5 + math.atan((energy - self.e0) / self.width) / math.pi
        # The atomic absorption above the edge decays slowly too.
        post = 1.0 - 0.00012 * max(0.0, energy - self.e0)
        peaks = sum(
            h * math.exp(-0.5 * ((energy - e) / w) ** 2) for e, h, w in self.features
        )
        return self.jump * (step * post * (1.0 + self.chi(energy)) + peaks)

    def mu_t(self, energy):
        # Below the edge the absorption falls off roughly as E^-2.8.
        below = self.pre * (energy / 8979.0) ** -2.8
        return below + self.edge(energy)

    def ref_mu_t(self, energy):
        return CU_FOIL_REF.mu_t(energy) * self.ref_jump / CU_FOIL_REF.jump


CU_FOIL_REF = Sample(
    8979.0,
    1.0,
    0.2,
    1.0,
    [(8981.5, 0.12, 1.3), (8992.5, 0.10, 3.0), (9003.5, 0.06, 4.0)],
    [(12, 2.55, 0.0085, 1.0, -1.6), (6, 3.61, 0.0110, 1.0, -1.7), (24, 4.42, 0.0120, 0.6, -1.9)],
)

SAMPLES = {
    "cu_foil": Sample(
        8979.0,
        1.45,
        0.32,
        1.0,
        [(8981.5, 0.12, 1.3), (8992.5, 0.10, 3.0), (9003.5, 0.06, 4.0)],
        [(12, 2.55, 0.0085, 1.0, -1.6), (6, 3.61, 0.0110, 1.0, -1.7),
         (24, 4.42, 0.0120, 0.6, -1.9)],
    ),
    "cuo": Sample(
        8985.5,
        1.10,
        0.45,
        1.6,
        [(8977.3, 0.025, 0.9), (8986.5, 0.18, 1.8), (8997.0, 0.42, 3.5), (9012.0, 0.05, 6.0)],
        [(4, 1.96, 0.0045, 1.3, -1.1), (4, 2.90, 0.0080, 0.8, -1.6),
         (4, 3.08, 0.0090, 0.8, -1.6)],
    ),
    "cu2o": Sample(
        8981.5,
        1.25,
        0.40,
        1.2,
        [(8982.8, 0.55, 1.3), (8994.5, 0.18, 3.5), (9010.0, 0.06, 5.0)],
        [(2, 1.85, 0.0040, 1.3, -1.1), (12, 3.02, 0.0160, 0.9, -1.7)],
    ),
    "cuso4": Sample(
        8986.5,
        0.58,
        0.95,
        1.8,
        [(8977.5, 0.03, 1.0), (8996.5, 0.95, 4.0), (9020.0, 0.05, 8.0)],
        [(6, 1.97, 0.0080, 1.4, -1.1)],
        ref_jump=1.0,
    ),
}

# ---------------------------------------------------------------- scans

# Scan blocks as energies: (start, end, step in eV, dwell in s). Each block
# starts where the one before ended; the first point of a block is its start.
BLOCKS_4 = [
    (8680.0, 8950.0, 5.0, 1.0),
    (8950.0, 9020.0, 0.5, 1.0),
    (9020.0, 9300.0, 2.0, 2.0),
    (9300.0, 9800.0, 4.0, 3.0),
]
BLOCKS_3 = [
    (8700.0, 8955.0, 3.0, 1.0),
    (8955.0, 9040.0, 0.4, 1.0),
    (9040.0, 9700.0, 3.0, 2.0),
]


def block_rows(blocks, unit):
    """Header rows of the block table and the commanded angles of every point.

    With unit "ENG" the table is written in eV and the points step evenly in
    energy; with "DEG" both are in degrees with an even angle step.
    """
    rows, angles, dwells = [], [], []
    for number, (e_start, e_end, e_step, dwell) in enumerate(blocks, start=1):
        count = int(round((e_end - e_start) / e_step))
        if unit == "ENG":
            for i in range(count):
                angles.append(angle_of(e_start + i * e_step))
            rows.append(
                "%7d%13.2f%13.2f%11.2f%10.2f%8d" % (number, e_start, e_end, e_step, dwell, count)
            )
        else:
            a_start = round(angle_of(e_start), 5)
            a_step = round((angle_of(e_end) - a_start) / count, 5)
            a_end = a_start + count * a_step
            for i in range(count):
                angles.append(a_start + i * a_step)
            rows.append(
                "%7d%13.5f%13.5f%11.5f%10.2f%8d" % (number, a_start, a_end, a_step, dwell, count)
            )
        dwells += [dwell] * count
    return rows, angles, dwells


def data_lines(sample, angles, dwells, seed, flux, mode="transmission"):
    """One line per point: I0, I1 and I2 behind the reference foil; in
    fluorescence I0 and the fluorescence detector; a quick scan writes its
    rows as %10.5f%10.5f%10.4f and %9.0f counts."""
    rng = random.Random(seed)
    lines = []
    decay = 1.0
    for angle, dwell in zip(angles, dwells):
        observed = angle + rng.gauss(0.0, 0.00003)
        observed = round(observed, 5)
        energy = energy_of(observed)
        # Beam intensity: smooth over energy, a slow decay, and a little jitter.
        decay *= 1.0 - 2e-5 * dwell
        shape = 0.82 + 0.18 * math.exp(-(((energy - 8850.0) / 700.0) ** 2))
        i0_true = flux * dwell * shape * decay * (1.0 + rng.gauss(0.0, 0.0008))
        if mode == "fluorescence":
            # Scattered background below the edge, the Cu fluorescence above.
            truth = (i0_true, i0_true * 0.004 * (0.15 + sample.edge(energy) / sample.jump))
        else:
            i1_true = i0_true * math.exp(-sample.mu_t(energy))
            truth = (i0_true, i1_true, i1_true * math.exp(-sample.ref_mu_t(energy)))
        counts = [max(1, int(round(c + rng.gauss(0.0, math.sqrt(c))))) for c in truth]
        if mode == "quick":
            lines.append(
                "%10.5f%10.5f%10.4f" % (angle, observed, dwell)
                + "".join(" %9.0f" % c for c in counts)
            )
        else:
            lines.append(
                "%11.5f%11.5f%9.2f" % (angle, observed, dwell) + "".join("%12d" % c for c in counts)
            )
    return lines


def write_text(name, text):
    with open(os.path.join(OUT, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


# What the lines after the block table say about the channels, by mode:
# the column heads, then the Mode line's values after the two angle columns.
CHANNELS = {
    "transmission": (
        [
            "   Angle(c)   Angle(o)   Time/s        Ch 1        Ch 2        Ch 3",
            "                                         I0          I1     I2(Ref)",
        ],
        (1, 1, 1),
    ),
    "fluorescence": (
        [
            "   Angle(c)   Angle(o)   Time/s        Ch 1        Ch 2",
            "                                         I0          If",
        ],
        (1, 3),
    ),
    # The other program writes its detector line first, then one line of heads.
    "quick": (
        [
            " ORTEC( 0)     NDCH = 3",
            "  Angle(c)  Angle(o)    time/s         1         2         3",
        ],
        (1, 2, 2),
    ),
}


def write_9809(scan):
    rows, angles, dwells = block_rows(scan["blocks"], scan["unit"])
    mode = scan.get("mode", "transmission")
    # Acquisition programs write one, two or three blanks before 9809.
    lines = ["%s9809     %s     %s" % (scan.get("lead", "   "), scan["run"], scan["beamline"])]
    # The sample name owns the first 17 characters of line 2.
    name = scan["sample_name"]
    assert len(name) <= 17
    lines.append(
        "%-17s %s %s  -  %s %s"
        % (name, scan["date_text"], scan["start"], scan["date_text_end"], scan["end"])
    )
    lines.append(scan["comment"])
    lines.append(" Ring :  2.50 GeV   %5.1f mA  -   %5.1f mA" % scan["ring"])
    lines.append(
        " Mono : Si(111)     D=  %.7f A     Initial angle=  %8.5f deg" % (D_SI111, angles[0])
    )
    # A fluorescence scan names its mode on line 6 as well.
    named = "%s      Fluorescence( 3)   " % scan["beamline"] if mode == "fluorescence" else ""
    lines.append(named + "Repetition=     1         Points=   %d" % len(angles))
    lines.append("Block =     %d" % len(rows))
    axis = "angle axis (1)" if mode == "quick" else "Gas : I0 N2, I1 N2+Ar"
    lines.append("Param file : %s   %s" % (scan["param"], axis))
    label = "Init.(eV)" if scan["unit"] == "ENG" else "Init.(deg)"
    lines.append("  Block  Angle-%s   %s     Final       Step   Time(s)  Points" % (scan["unit"], label))
    lines += rows
    heads, modes = CHANNELS[mode]
    lines += heads
    lines.append("      Mode          0          0" + "".join("%11d" % m for m in modes))
    lines.append("    Offset          0          0" + "".join("  %9.1f" % o for o in scan["offsets"]))
    lines += data_lines(
        SAMPLES[scan["sample"]], angles, dwells, scan["seed"], scan["flux"], mode
    )
    write_text(scan["file"] + "." + scan.get("suffix", "dat"), "\n".join(lines) + "\n")
    return len(angles)


def write_info(scan):
    lines = [
        "# Scan log written by the beamline control at the end of the scan",
        "Measurement Type: Transmission XAFS",
        "Start Date Time: %s %s" % (scan["info_date"], scan["start"]),
        "End Date: %s %s" % (scan["info_date_end"], scan["end"]),
        "Sample: %s" % scan["sample_name"],
    ]
    for number, (detector, gain) in enumerate(zip(("I0", "I1", "I2"), scan["ranges"]), start=1):
        lines.append("Detector Range: %d %s %d" % (number, detector, gain))
    lines.append("Gas I0: N2 100%")
    lines.append("Gas I1: N2 75% + Ar 25%")
    lines.append("Operator: %s" % scan["operator"])
    write_text(scan["file"] + ".info", "\n".join(lines) + "\n")


SCANS = [
    {
        "file": "Cu_foil_K_001",
        "sample": "cu_foil",
        "sample_name": "Cu foil 7um",
        "comment": "Cu metal foil 7 um, energy calibration reference, transmission",
        "run": "R26B",
        "beamline": "BLC2",
        "date_text": "26.11.30",
        "date_text_end": "26.11.30",
        "info_date": "2026/11/30",
        "info_date_end": "2026/11/30",
        "start": "21:14:03",
        "end": "21:41:55",
        "ring": (450.2, 449.7),
        "param": "CuK_4blk_eng.prm",
        "unit": "ENG",
        "blocks": BLOCKS_4,
        "offsets": (152.3, 98.1, 85.6),
        "ranges": (8, 9, 9),
        "operator": "A. Researcher",
        "seed": 1001,
        "flux": 520000.0,
        "info": True,
    },
    {
        "file": "CuO_K_002",
        "sample": "cuo",
        "sample_name": "CuO/BN pellet",
        "comment": "CuO 12 mg in BN, 10 mm pellet, transmission",
        "run": "R26B",
        "beamline": "BLC2",
        "date_text": "2026/11/30",
        "date_text_end": "2026/11/30",
        "info_date": "2026/11/30",
        "info_date_end": "2026/11/30",
        "start": "21:52:10",
        "end": "22:20:44",
        "ring": (449.6, 449.9),
        "param": "CuK_4blk_deg.prm",
        "unit": "DEG",
        "blocks": BLOCKS_4,
        "offsets": (151.8, 97.6, 86.0),
        "ranges": (8, 9, 9),
        "operator": "A. Researcher",
        "seed": 1002,
        "flux": 505000.0,
        "info": True,
    },
    {
        "file": "Cu2O_K_003",
        "sample": "cu2o",
        "sample_name": "Cu2O/BN pellet",
        "comment": "Cu2O 10 mg in BN, 10 mm pellet, transmission",
        "run": "R26B",
        "beamline": "BLC2",
        "date_text": "2026/11/30",
        "date_text_end": "2026/12/01",
        "info_date": "2026/11/30",
        "info_date_end": "2026/12/01",
        "start": "23:47:21",
        "end": "00:15:02",
        "ring": (450.1, 449.8),
        "param": "CuK_4blk_deg.prm",
        "unit": "DEG",
        "blocks": BLOCKS_4,
        "offsets": (152.0, 97.9, 85.1),
        "ranges": (8, 9, 9),
        "operator": "B. Beamline",
        "seed": 1003,
        "flux": 498000.0,
        "info": True,
    },
    {
        "file": "CuSO4_sol_004",
        "sample": "cuso4",
        "sample_name": "CuSO4 0.1M aq",
        "comment": "CuSO4 0.1 mol/L in water, 5 mm PTFE cell with Kapton windows",
        "run": "R26C",
        "beamline": "BLA7",
        "date_text": "2026/12/01",
        "date_text_end": "2026/12/01",
        "info_date": "2026/12/01",
        "info_date_end": "2026/12/01",
        "start": "10:12:40",
        "end": "10:58:13",
        "ring": (449.9, 450.0),
        "param": "CuK_3blk_deg.prm",
        "unit": "DEG",
        "blocks": BLOCKS_3,
        "offsets": (150.9, 99.2, 84.7),
        "ranges": (8, 8, 9),
        "operator": "B. Beamline",
        "seed": 1004,
        "flux": 610000.0,
        "info": True,
    },
    {
        # No .info file: korvane falls back to its defaults for these values.
        "file": "Cu_foil_K_005",
        "sample": "cu_foil",
        "sample_name": "Cu foil 7um",
        "comment": "Cu metal foil 7 um, repeat after refill",
        "run": "R26C",
        "beamline": "BLC2",
        "date_text": "26.12.01",
        "date_text_end": "26.12.01",
        "start": "11:30:12",
        "end": "11:52:47",
        "ring": (450.3, 449.9),
        "param": "CuK_3blk_eng.prm",
        "unit": "ENG",
        "blocks": BLOCKS_3,
        "offsets": (153.1, 98.4, 85.9),
        "operator": "B. Beamline",
        "seed": 1005,
        "flux": 530000.0,
        "info": False,
    },
    {
        # A dilute sample in fluorescence: its curve is the Cu fluorescence
        # over I0, rising at the edge as the absorption does.
        "file": "Cu_sulfate_fl_006",
        "mode": "fluorescence",
        "sample": "cuso4",
        "sample_name": "CuSO4 1mM aq",
        "comment": "CuSO4 1 mmol/L in water, 5 mm PTFE cell, fluorescence (Lytle detector)",
        "run": "R26C",
        "beamline": "BLA7",
        "date_text": "26.12.01",
        "date_text_end": "26.12.01",
        "start": "13:05:31",
        "end": "13:51:48",
        "ring": (449.8, 449.6),
        "param": "CuK_3blk_eng_fl.prm",
        "unit": "ENG",
        "blocks": BLOCKS_3,
        "offsets": (150.4, 12.3),
        "seed": 1006,
        "flux": 600000.0,
        "info": False,
    },
    {
        # A quick scan as another acquisition program writes it: two blanks
        # before 9809, one block on the angle axis, the suffix .qd.
        "file": "Cu_foil_quick_007",
        "suffix": "qd",
        "mode": "quick",
        "lead": "  ",
        "sample": "cu_foil",
        "sample_name": "Cu foil 7um",
        "comment": "Cu metal foil 7 um, quick scan",
        "run": "R26C",
        "beamline": "BLC2",
        "date_text": "26.12.01",
        "date_text_end": "26.12.01",
        "start": "14:20:05",
        "end": "14:20:41",
        "ring": (449.5, 449.5),
        "param": "CuK_quick.prm",
        "unit": "DEG",
        "blocks": [(8750.0, 9650.0, 1.5, 0.05)],
        "offsets": (7.6, 4.9, 4.3),
        "seed": 1007,
        "flux": 520000.0,
        "info": False,
    },
]

# ---------------------------------------------------------------- template

# After the YAML key each template line holds: id, kind, default, flag,
# comment, then optionally LITERAL and PID=<id> words.
TEMPLATE_HEAD = """\
# korvane metadata template for Cu K-edge transmission XAFS
#
# Each line is the text of metadata.yml up to its key, followed by
#   id  kind  default  flag  comment  [LITERAL]  [PID=id ...]
# kind:  input      differs per data file (data properties file)
#        semi_fix   common to all files (common properties sheet)
#        from_data  read from the 9809 file and its .info file
#        na         set only by the work pass or by a sheet row
# A line without a value is left out; LITERAL puts the value in double
# quotes; PID=id writes the line only when id has a value too.
# Directive lines start with "::" (or "#::" in column 0, which keeps the
# template a valid YAML file): a block_start writes the lines up to its
# block_end only when its id has a non-zero value.

schema_version: SYS_900 semi_fix "1.2" "" "version of this metadata layout"
information:
  title: INFO_013 na "" "" "title, made by the work pass from SMPL_001 and SMPL_002"
  subtitle: INFO_014 na "" "" "same text as the title"
  project: INFO_001 semi_fix "Cu reference spectra" "" "project name"
  proposal: INFO_002 semi_fix "2026G512" "" "beamtime proposal number" LITERAL
  local_id: INFO_015 input "" "" "local id, the work folder name by default"
  measured_at: INFO_011 from_data "" "" "start of the scan, from the data file"
  file_date: INFO_012 from_data "" "" "date of the data file"
  license: INFO_020 semi_fix "CC BY 4.0" "" "licence of the data set" LITERAL
  keywords: INFO_030 semi_fix "XAFS, Cu K-edge, transmission" "" "comma separated keywords"
  people:
    - name: INFO_021 semi_fix "A. Researcher" "" "principal investigator"
      affiliation: INFO_022 semi_fix "Dept. of Chemistry" "" "affiliation of the PI" PID=INFO_021
      orcid: INFO_023 semi_fix -- "" "ORCID iD of the PI" PID="INFO_021"
    - name: INFO_024 semi_fix "B. Beamline" "" "beamline scientist"
      affiliation: INFO_025 semi_fix "Korvane Light Source" "" "affiliation" PID=INFO_024
facility:
  name: FACI_001 semi_fix "Korvane Light Source" "" "facility name"
  beamline: FACI_002 from_data "" "" "beamline, from line 1 of the data file"
  ring_current_start: FACI_007 from_data "" "" "ring current at the start (mA)"
  ring_current_end: FACI_009 from_data "" "" "ring current at the end (mA)"
  ring_mode: FACI_010 semi_fix "top-up" "" "filling mode of the ring"
instrument:
  measurement_type: INST_006 from_data "" "" "from the .info file, Step XAFS without one"
  monochromator:
    crystal: INST_007 from_data "" "" "monochromator crystal"
    reflection: INST_008 from_data "" "" "reflection indices" LITERAL
    d_spacing: INST_009 from_data "" "" "lattice spacing"
    d_spacing_unit: INST_010 from_data "" "" "unit of the lattice spacing"
    offset_angle: INST_501 from_data "" "" "offset angle"
    offset_angle_unit: INST_502 from_data "" "" "unit of the offset angle"
  focusing:
    grating_density: INST_503 from_data "" "" "line density"
    grating_density_unit: INST_504 from_data "" "" "unit of the line density"
    slit_width: INST_505 from_data "" "" "exit slit width"
    slit_width_unit: INST_506 from_data "" "" "unit of the slit width"
    beam_size: INST_016 from_data "" "" "beam size at the sample (common sheet)"
    harmonic_rejection: INST_025 from_data "" "" "mirror or detuning (common sheet)"
::block_start detectors BLK_001 semi_fix 1 "" "1 writes the detector details, 0 leaves them out"
  detectors:
    - name: FILE_0193 from_data "" "" "first chamber"
      kind: MEAS_001 semi_fix "ionization chamber" "" "I0 detector type"
      gas: MEAS_037 from_data "" "" "I0 gas (common sheet)"
      length: MEAS_038 from_data "" "" "I0 electrode length (common sheet)"
      gain: MEAS_003 from_data "" "" "I0 amplifier gain, from the .info range"
      sensitivity: MEAS_017 from_data "" "" "I0 sensitivity (A/V)"
    - name: FILE_0223 from_data "" "" "second chamber"
      kind: MEAS_042 semi_fix "ionization chamber" "" "I1 detector type"
      gas: MEAS_070 from_data "" "" "I1 gas (common sheet)"
      length: MEAS_071 from_data "" "" "I1 electrode length (common sheet)"
      gain: MEAS_044 from_data "" "" "I1 amplifier gain"
      sensitivity: MEAS_050 from_data "" "" "I1 sensitivity (A/V)"
    - name: FILE_0253 from_data "" "" "reference chamber"
      kind: MEAS_075 semi_fix "ionization chamber" "" "I2 detector type"
      gain: MEAS_077 from_data "" "" "I2 amplifier gain"
      sensitivity: MEAS_083 from_data "" "" "I2 sensitivity (A/V)"
      reference: MEAS_076 semi_fix "Cu foil 7 um" "" "reference foil before I2"
::block_end detectors
sample:
  name: SMPL_001 input "" "" "sample name"
  formula: SMPL_002 input "" "" "chemical formula"
  form: SMPL_003 input "" "" "foil, pellet, solution ..."
  amount: SMPL_004 input "" "" "thickness, mass or concentration"
  temperature: SMPL_006 input/semi_fix "RT" "" "sample temperature"
  absorber: SMPL_011 input/semi_fix "" "" "absorbing element for the XDI (Cu); empty: found at the edge"
  edge: SMPL_012 input/semi_fix "" "" "its edge for the XDI (K, L3 ...); empty: found at the edge"
  supplier: SMPL_005 semi_fix -- "" "supplier of the sample"
  preparation: SMPL_010 na "" "" "preparation notes (not collected yet)"
measurement:
  start: MEAS_099 from_data "" "" "start, from the .info file, else line 2"
  end: MEAS_100 from_data "" "" "end, from the .info file, else line 2"
  atmosphere: MEAS_101 semi_fix "air" "" "around the sample"
  block_count: MEAS_112 from_data "" "" "number of scan blocks"
  point_count: MEAS_200 from_data "" "" "number of points"
#::block_start scan BLK_002 semi_fix 1 "" "1 writes the scan block table"
  scan_blocks:
"""

TEMPLATE_BLOCK = """\
    - block: MEAS_120_{n} from_data "" "" "scan block {i}"
      start: MEAS_121_{n} from_data "" "" "block {i} start"
      start_unit: MEAS_122_{n} from_data "" "" "unit"
      end: MEAS_123_{n} from_data "" "" "block {i} end"
      end_unit: MEAS_124_{n} from_data "" "" "unit"
      step: MEAS_125_{n} from_data "" "" "block {i} step"
      step_unit: MEAS_126_{n} from_data "" "" "unit"
      dwell: MEAS_127_{n} from_data "" "" "block {i} dwell time"
      dwell_unit: MEAS_128_{n} from_data "" "" "unit"
      points: MEAS_129_{n} from_data "" "" "block {i} points"
"""

TEMPLATE_TAIL = """\
#::block_end scan
file:
  name: FILE_001 from_data "" "" "data file name in the work, without suffix"
  extension: FILE_002 from_data "" "" "suffix of the data file"
  format: FILE_003 from_data "" "" "layout of the data file"
  header_lines: FILE_004 from_data "" "" "lines before the data"
  columns:
    - name: FILE_005 from_data "" "" "column 1"
      unit: FILE_006 from_data "" "" "unit"
      kind: FILE_007 from_data "" "" "raw or processed"
      calibration: FILE_008 from_data "" "" "calibration state"
    - name: FILE_009 from_data "" "" "column 2"
      unit: FILE_010 from_data "" "" "unit"
      kind: FILE_011 from_data "" "" "raw or processed"
      calibration: FILE_012 from_data "" "" "calibration state"
    - name: FILE_013 from_data "" "" "column 3"
      unit: FILE_014 from_data "" "" "unit"
      kind: FILE_015 from_data "" "" "raw or processed"
      calibration: FILE_016 from_data "" "" "calibration state"
    - name: FILE_017 from_data "" "" "column 4"
      unit: FILE_018 from_data "" "" "unit"
      kind: FILE_019 from_data "" "" "raw or processed"
      processing: FILE_0191 from_data "" "" "processing"
      mode: FILE_0192 from_data "" "" "measurement mode"
    - name: FILE_020 from_data "" "" "column 5"
      unit: FILE_021 from_data "" "" "unit"
      kind: FILE_022 from_data "" "" "raw or processed"
      processing: FILE_0221 from_data "" "" "processing"
      mode: FILE_0222 from_data "" "" "measurement mode"
    - name: FILE_023 from_data "" "" "column 6"
      unit: FILE_024 from_data "" "" "unit"
      kind: FILE_025 from_data "" "" "raw or processed"
      processing: FILE_0251 from_data "" "" "processing"
      mode: FILE_0252 from_data "" "" "measurement mode"
  thumbnail:
    name: FILE_026 from_data "" "" "image name in the work, without suffix"
    role: FILE_0261 from_data "" "" "role of the image"
    extension: FILE_027 from_data "" "" "suffix of the image"
    media_type: FILE_028 from_data "" "" "media type of the image"
"""

TEMPLATE_BLOCKS = 6


def template_text():
    blocks = "".join(
        TEMPLATE_BLOCK.format(n="%02d" % i, i=i) for i in range(1, TEMPLATE_BLOCKS + 1)
    )
    return TEMPLATE_HEAD + blocks + TEMPLATE_TAIL


def take_item(text):
    """The next blank-separated item (a double quote groups) and the rest."""
    stripped = text.lstrip()
    if not stripped:
        return "", ""
    if stripped[0] == '"':
        end = stripped.find('"', 1)
        if end < 0:
            return stripped[1:], ""
        return stripped[1 : end], stripped[end + 1 :]
    for i, c in enumerate(stripped):
        if c.isspace():
            return stripped[:i], stripped[i:]
    return stripped, ""


def strip_comment(line):
    in_quote = False
    for i, c in enumerate(line):
        if c in "\"'":
            in_quote = not in_quote
        elif c == "#" and not in_quote:
            return line[:i]
    return line


def template_rows(text):
    """(id, kinds, default, comment, yml key) of every template line with items."""
    rows = []
    for raw in text.splitlines():
        line = "::" + raw[3:] if raw.startswith("#::") else raw
        line = strip_comment(line)
        if not line:
            continue
        if line.startswith("::"):
            key, rest = take_item(line[2:])
            _, rest = take_item(rest)  # block name
        else:
            body = line.lstrip()
            if body.startswith("-"):
                body = body[1:].lstrip()
            cut = next((i for i, c in enumerate(body) if c.isspace()), None)
            if cut is None:
                continue
            key = line[: len(line) - len(body) + cut]
            rest = body[cut:]
        ident, rest = take_item(rest)
        kinds, rest = take_item(rest)
        default, rest = take_item(rest)
        _, rest = take_item(rest)
        comment, rest = take_item(rest)
        rows.append((ident, kinds.split("/"), default, comment, key))
    return rows


def semi_fix_rows(text):
    """Common-properties rows of the lines classed semi_fix (input wins)."""
    return [
        (ident, default, comment, key.replace(" ", "."))
        for ident, kinds, default, comment, key in template_rows(text)
        if "semi_fix" in kinds and "input" not in kinds
    ]


# Values the users of the example filled into the common sheet; every other
# semi_fix row keeps the template's default.
COMMON_VALUES = {
    "INFO_001": "Cu oxidation state references 2026",
    "SMPL_005": "--",
}

# Rows for from_data keys that the data file leaves to the common sheet ("--").
EXTRA_ROWS = [
    ("INST_016", "1.0 mm x 0.5 mm", "beam size at the sample", "....beam_size:"),
    ("INST_025", "Rh-coated mirror, 4.5 mrad", "harmonic rejection", "....harmonic_rejection:"),
    ("MEAS_037", "N2 100%", "I0 gas", "......gas:"),
    ("MEAS_038", "17 cm", "I0 electrode length", "......length:"),
    ("MEAS_070", "N2 75% + Ar 25%", "I1 gas", "......gas:"),
    ("MEAS_071", "31 cm", "I1 electrode length", "......length:"),
]


def csv_quote(value):
    return '"' + value.replace('"', '""') + '"'


def comm_props_text(template):
    lines = []
    for ident, default, comment, key in semi_fix_rows(template) + EXTRA_ROWS:
        value = COMMON_VALUES.get(ident, default)
        lines.append(",".join(csv_quote(v) for v in (ident, value, comment, key)))
    return "\n".join(lines) + "\n"


# Per-file values as a user would type them into the data-properties sheet.
# Only the input columns are given: on loading, line 4 names the columns and
# a line sets just the keys it reaches.
SAMPLE_VALUES = {
    "Cu_foil_K_001.dat": ("1", "Copper foil", "Cu", "foil", "7 um", "RT"),
    "CuO_K_002.dat": ("1", "Copper(II) oxide", "CuO", "pellet in BN", "12 mg", "RT"),
    "Cu2O_K_003.dat": ("1", "Copper(I) oxide", "Cu2O", "pellet in BN", "10 mg", "RT"),
    "CuSO4_sol_004.dat": ("1", "Copper(II) sulfate solution", "CuSO4", "solution",
                          "0.1 mol/L", "295 K"),
    "Cu_foil_K_005.dat": ("0", "Copper foil", "Cu", "foil", "7 um", "RT"),
    "Cu_sulfate_fl_006.dat": ("1", "Copper(II) sulfate solution", "CuSO4", "solution",
                             "1 mmol/L", "295 K"),
    "Cu_foil_quick_007.qd": ("1", "Copper foil", "Cu", "foil", "7 um", "RT"),
}


def data_props_text(template):
    inputs = [r for r in template_rows(template) if "input" in r[1]]
    lines = [
        ',"input"' + "".join(',' + csv_quote("/".join(kinds)) for _, kinds, _, _, _ in inputs),
        ',"Gen. Work/not"' + "".join(',' + csv_quote(c) for _, _, _, c, _ in inputs),
        ',""' + "".join(',' + csv_quote(k) for _, _, _, _, k in inputs),
        ',"SYS_001"' + "".join(',' + csv_quote(i) for i, _, _, _, _ in inputs),
    ]
    ids = [r[0] for r in inputs]
    for name, (flag, *values) in SAMPLE_VALUES.items():
        by_id = dict(zip(("SMPL_001", "SMPL_002", "SMPL_003", "SMPL_004", "SMPL_006"), values))
        # The local id stays empty: the work pass puts the folder name there.
        cells = [flag] + [by_id.get(i, "") for i in ids]
        lines.append(name + "".join("," + csv_quote(c) for c in cells))
    return "\n".join(lines) + "\n"


CONFIG = """\
# korvane settings for the example folder; start korvane in this folder.
# An option on the command line beats the key of the same name here.
Template_File      korvane-template.yml
Common_Props_File  commProps.csv       # loaded at start
Data_Props_File    dataProps.csv       # "Load Props of Data" dataProps-filled.csv for sample names
Works_Dir          works
Work_Name          CuK                 # first part of every work folder name
Work_Branch        refs
File_Name_in_Work_as_Original  1       # 0: name the copies sample-run-beamline-date
Img_W   1024
Img_H   1024
Write_XDI   1                       # <name>.xdi in each work, for analysis programs
"""


def main():
    os.makedirs(OUT, exist_ok=True)
    for scan in SCANS:
        points = write_9809(scan)
        if scan["info"]:
            write_info(scan)
        print("%s.%s: %d points" % (scan["file"], scan.get("suffix", "dat"), points))
    template = template_text()
    write_text("korvane-template.yml", template)
    write_text("commProps.csv", comm_props_text(template))
    # dataProps.csv itself is what korvane saves; the filled-in copy has a
    # name of its own so that a save never overwrites it.
    write_text("dataProps-filled.csv", data_props_text(template))
    write_text("config.cfg", CONFIG)


if __name__ == "__main__":
    main()
