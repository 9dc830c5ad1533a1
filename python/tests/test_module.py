"""The Python module against redivev-split on the same recordings."""
import ast
import os
import struct
import pydoc
import re
import subprocess
import tracemalloc

import numpy as np
import pytest
import redivev

from conftest import BUILD, ROOT, SPLIT, as_type, bursts, listed, write_wav

SETTINGS = {"no_sound_level": "-46dB", "cut_start_level": 800, "no_sound_width": "0.05s", "min_size": 40}
OPTIONS = ["--no-sound-level", "-46dB", "--cut-start-level", "800", "--no-sound-width", "0.05s", "--min-size", "40"]
# Keywords and the options they stand for: the settings above, then those
# that read levels over a window, widen the pieces, are suggested, are
# cut to a maximum size, or keep short pieces of a band's levels.
FORMS = [(SETTINGS, OPTIONS),
         ({"pad": "0.01s", "level_window": 160, "no_sound_width": "0.05s"},
          ["--pad", "0.01s", "--level-window", "160", "--no-sound-width", "0.05s"]),
         ({"auto": True, "min_size": "0.01s"}, ["--auto", "--min-size", "0.01s"]),
         # Widths as floats are seconds.
         ({"no_sound_level": "-46dB", "no_sound_width": 0.05, "min_size": np.float32(0.0025)},
          ["--no-sound-level", "-46dB", "--no-sound-width", "0.05s", "--min-size", "0.0025s"]),
         ({**SETTINGS, "max_size": "0.05s"}, OPTIONS + ["--max-size", "0.05s"]),
         ({"no_sound_level": "-46dB", "no_sound_width": "0.05s", "min_size": "0.25s", "join_short": True,
           "band": "highpass"},
          ["--no-sound-level", "-46dB", "--no-sound-width", "0.05s", "--min-size", "0.25s", "--join-short",
           "--band", "highpass"])]


@pytest.mark.parametrize("dtype", [np.int8, np.uint8, np.int16, np.int32, np.float32, np.float64])
@pytest.mark.parametrize("channels", [1, 2])
@pytest.mark.parametrize("settings, options", FORMS)
def test_detect_finds_what_the_command_lists_in_every_sample_type(tmp_path, dtype, channels, settings, options):
    signal = bursts(3, 16000, channels, seed=channels)
    samples = as_type(signal, dtype)
    # No file holds signed 8-bit samples: the command reads the unsigned
    # ones 128 above them.
    stored = (samples.astype(np.int16) + 128).astype(np.uint8) if dtype is np.int8 else samples
    write_wav(tmp_path / "r.wav", stored, 16000)
    expected = [[start, end] for _, start, end in listed(*options, tmp_path / "r.wav", stderr=subprocess.DEVNULL)]
    assert len(expected) > 1
    array = samples[:, 0] if channels == 1 else samples
    assert redivev.detect(array, 16000, **settings).tolist() == expected
    # A strided or byte-swapped array is read as its values, not its bytes.
    assert redivev.detect(np.repeat(array, 2, axis=0)[::2], 16000, **settings).tolist() == expected
    swapped = array.astype(array.dtype.newbyteorder(">"))
    assert redivev.detect(swapped, 16000, **settings).tolist() == expected


def test_detect_reads_the_array_in_place():
    samples = as_type(bursts(120, 44100, 2), np.int16)  # 21 MB
    tracemalloc.start()
    redivev.detect(samples, 44100)
    peak = tracemalloc.get_traced_memory()[1]
    tracemalloc.stop()
    assert peak < samples.nbytes / 20


def test_split_file_and_list_file_give_the_commands_pieces(tmp_path):
    write_wav(tmp_path / "r.wav", as_type(bursts(3, 8000, seed=4), np.int16), 8000)
    expected = listed(*OPTIONS, tmp_path / "r.wav")
    listing = redivev.list_file(tmp_path / "r.wav", **SETTINGS)
    assert [(r["file"], r["start"], r["end"]) for r in listing] == expected
    assert redivev.list_file(tmp_path / "r.wav", **{**SETTINGS, "min_size": np.int64(40)}) == listing
    pieces = redivev.split_file(str(tmp_path / "r.wav"), tmp_path / "out", skip_done=True, **SETTINGS)
    assert [(r["start"], r["end"], r["skipped"]) for r in pieces] == [(s, e, False) for _, s, e in expected]
    assert sorted(p.name for p in (tmp_path / "out").iterdir()) == \
        sorted([f"WAVE{i:02}.wav" for i in range(len(expected))] + [".redivev-done"])
    assert [r["piece"] for r in pieces] == [str(tmp_path / "out" / f"WAVE{i:02}.wav") for i in range(len(expected))]
    again = redivev.split_file(str(tmp_path / "r.wav"), tmp_path / "out", skip_done=True, **SETTINGS)
    assert [(r["start"], r["end"], r["piece"]) for r in again] == [(r["start"], r["end"], r["piece"]) for r in pieces]
    assert all(r["skipped"] for r in again)
    # Converted as --rate, --channels and --bits convert: the same cut, the
    # pieces in the form asked for, and the earlier record not taken for it.
    converted = redivev.split_file(tmp_path / "r.wav", tmp_path / "out", skip_done=True, rate=16000, channels=2,
                                   bits=24, **SETTINGS)
    assert [(r["start"], r["end"], r["skipped"]) for r in converted] == [(s, e, False) for _, s, e in expected]
    header = (tmp_path / "out" / "WAVE00.wav").read_bytes()[:64]
    assert struct.unpack_from("<HI", header, header.index(b"fmt ") + 10) == (2, 16000)
    assert struct.unpack_from("<H", header, header.index(b"fmt ") + 22) == (24,)



def test_manifest_lines_are_the_commands_lines(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    names = ["café.wav", os.fsdecode(b"x\xfe y.wav")]
    for seed, name in enumerate(names):
        write_wav(tmp_path / name, as_type(bursts(3, 44100, seed=seed), np.int16), 44100)
    listing = [r for name in names for r in redivev.list_file(name, **SETTINGS)]
    for form in ["nemo", "csv", "json"]:
        command = subprocess.run([SPLIT, "--list", "--manifest", form, *OPTIONS, *names], capture_output=True,
                                 check=True).stdout
        # The CSV header aside, which a shard's manifest lacks too.
        assert redivev.manifest_lines(listing, form) == (command.split(b"\n", 1)[1] if form == "csv" else command)
    pieces = [r for name in names for r in redivev.split_file(name, "out", keep_tree=".", **SETTINGS)]
    command = subprocess.run([SPLIT, "--manifest", "nemo", "--out", "out", "--keep-tree", ".", *OPTIONS, *names],
                             capture_output=True, check=True).stdout
    assert redivev.manifest_lines(pieces) == command and "café".encode() in command
    # Cut as a batch: each recording's lines as the command writes them, in
    # the list's order, and a broken one failing alone with its reason.
    (tmp_path / "broken.wav").write_bytes(b"RIFF....WAVEnothing")
    for form in ["nemo", "csv", "json"]:
        command = subprocess.run([SPLIT, "--manifest", form, "--out", "out", "--keep-tree", ".", *OPTIONS, *names],
                                 capture_output=True, check=True).stdout
        made = redivev.split_files([names[0], "broken.wav", names[1]], "batch", format=form, keep_tree=".",
                                   **SETTINGS)
        assert [lines == b"" for lines, _ in made] == [False, True, False]
        assert [error and error.split(": ")[0] for _, error in made] == [None, "broken.wav", None]
        lines = b"".join(lines for lines, _ in made).replace(str(tmp_path / "batch").encode(),
                                                              str(tmp_path / "out").encode())
        assert lines == (command.split(b"\n", 1)[1] if form == "csv" else command)
    for call, message in [(lambda: redivev.manifest_lines(listing, "kaldi"), "give nemo, csv or json"),
                          (lambda: redivev.manifest_lines([{"file": names[0]}]), 'a record has no "rate"'),
                          (lambda: redivev.manifest_lines([{**listing[0], "file": "gone.wav"}]), "gone.wav: ")]:
        with pytest.raises(ValueError) as raised:
            call()
        assert message in str(raised.value)

@pytest.mark.parametrize("call, error, message", [
    (lambda a: redivev.detect(a, 8000, no_sound_width="-1s"), ValueError, '--no-sound-width: "-1s" is negative'),
    (lambda a: redivev.detect(a, 8000, no_sound_level="loud"), ValueError, '--no-sound-level: "loud" is malformed'),
    (lambda a: redivev.detect(a, 8000, cut_start_level=0.5), ValueError, '--cut-start-level: "0.5" is malformed'),
    (lambda a: redivev.detect(a, 8000, no_sound_width=-0.4), ValueError, '--no-sound-width: "-0.4" is negative'),
    (lambda a: redivev.detect(a, 8000, max_size=float("nan")), ValueError, '--max-size: "nan" is out of range'),
    (lambda a: redivev.detect(a, 8000, pad=2**63), ValueError, '--pad: "9223372036854775808" is out of range'),
    (lambda a: redivev.detect(a, 8000, min_size=[1]), TypeError, "min_size: give a number"),
    # A keyword that is no setting of the call is refused by its signature,
    # options of redivev-split's batch and labels too.
    (lambda a: redivev.detect(a, 8000, out="x"), TypeError, "kwargs: out='x'"),
    (lambda a: redivev.detect(a, 8000, normalise=True), TypeError, "kwargs: normalise=True"),
    (lambda a: redivev.detect(a, 8000, frobnicate=1), TypeError, "kwargs: frobnicate=1"),
    (lambda a: redivev.detect(a, 8000, frobnicate=False), TypeError, "kwargs: frobnicate=False"),
    (lambda a: redivev.list_file("/nonexistent.wav", labels=True), TypeError, "kwargs: labels=True"),
    (lambda a: redivev.detect(a, 8000, band=1), TypeError, "band: give off, highpass or speech, not int"),
    (lambda a: redivev.detect(a, 8000, band="low"), ValueError, '--band: "low" is no band'),
    (lambda a: redivev.detect(a, 8000, target="word"), ValueError, "--target chooses what --auto cuts for"),
    # A flag is a bool and a setting never is: "no" or 1 would switch a
    # flag on, True would read as a count of 1.
    (lambda a: redivev.detect(a, 8000, auto="no"), TypeError, "auto: give True or False, not str"),
    (lambda a: redivev.detect(a, 8000, auto=1), TypeError, "auto: give True or False, not int"),
    (lambda a: redivev.detect(a, 8000, no_sound_width=True), TypeError, "no_sound_width: give a number or a text"),
    (lambda a: redivev.detect(a, 8000, min_size=np.True_), TypeError, "min_size: give a number or a text"),
    (lambda a: redivev.list_file("/nonexistent.wav", normalise="no"), TypeError, "normalise: give True or False"),
    (lambda a: redivev.split_file("/nonexistent.wav", "o", skip_done=None), TypeError, "skip_done: give True or"),
    (lambda a: redivev.split_file("/nonexistent.wav", "o", keep_tree=True), TypeError, "keep_tree: give a folder"),
    (lambda a: redivev.split_file("/nonexistent.wav", "", skip_done=True), ValueError, "--out: give a folder"),
    (lambda a: redivev.split_file("/nonexistent.wav", "o", rate=True), TypeError, "rate: give a whole number"),
    (lambda a: redivev.split_file("/nonexistent.wav", "o", channels=3), ValueError, '--channels: "3" is not 1 or 2'),
    (lambda a: redivev.detect(a, 0), ValueError, "rate: give the samples per second"),
    (lambda a: redivev.detect(a.astype(np.int64), 8000), TypeError, "give int8, uint8, int16, int32, float32"),
    (lambda a: redivev.detect(np.zeros((10, 9), np.int16), 8000), TypeError, "in 1 to 8 channels"),
    (lambda a: redivev.detect(np.zeros((2, 2, 2), np.int16), 8000), ValueError, "(frames,) or (frames, channels)"),
    (lambda a: redivev.list_file("/nonexistent.wav"), ValueError, "/nonexistent.wav: cannot open"),
    (lambda a: redivev.split_file("/nonexistent.wav", "o", shard="0/2"), TypeError, "incompatible function arguments"),
    (lambda a: redivev.split_files("/nonexistent.wav", "o"), TypeError, "paths: give a list of paths, not one path"),
    (lambda a: redivev.split_files([], "o", format="kaldi"), ValueError, '"kaldi" is no manifest made from records'),
])
def test_bad_calls_raise_with_the_reason(call, error, message):
    with pytest.raises(error, match=None) as raised:
        call(np.zeros(100, np.int16))
    assert message in str(raised.value)


def signature_of(function):
    """(name, type, default) of each parameter of the first line of its help."""
    line = function.__doc__.splitlines()[0]
    inside = line[line.index("(") + 1:line.rindex(") ->")]
    return [(name, kind, default or None) for name, kind, _, default in
            (re.fullmatch(r"(\w+): (.+?)( = (.+))?", part).groups() for part in inside.split(", ") if part != "*")]


def test_help_documents_every_call_and_the_stub_says_the_same():
    text = pydoc.render_doc(redivev, renderer=pydoc.plaintext)
    for piece in ["detect(samples: numpy.ndarray, rate: int, *, cut_start_level: int | str | None = 100",
                  "no_sound_width: int | float | str | None = 100", "max_size: int | float | str | None = 0",
                  "auto: bool = False", "band: str | None = 'off'",
                  "split_file(path: str | os.PathLike, out: str | os.PathLike, *, normalise: bool = False",
                  "list_file(path: str | os.PathLike, *, normalise: bool = False", "max_size=0", "GIL",
                  "split_files(paths: Iterable, out: str | os.PathLike, *, format: str = 'nemo', normalise"]:
        assert piece in text
    project = re.search(r"project\(Redivev VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)
    assert redivev.__version__ == project
    # The stub beside the module: each call's own parameters, in order, with
    # their defaults, then the settings every call takes, with their types.
    stub = ast.parse((BUILD / "python" / "redivev.pyi").read_text())
    settings = next(node for node in stub.body if isinstance(node, ast.ClassDef) and node.name == "_Settings")
    typed = [(node.target.id, ast.unparse(node.annotation), None) for node in settings.body]
    calls = {node.name: node.args for node in stub.body if isinstance(node, ast.FunctionDef)}
    assert sorted(calls) == ["detect", "list_file", "manifest_lines", "split_file", "split_files"]
    for name, arguments in calls.items():
        defaults = [None] * (len(arguments.args) - len(arguments.defaults)) + arguments.defaults
        own = [(a.arg, d and ast.unparse(d)) for a, d in zip(arguments.args, defaults)]
        own += [(a.arg, d and ast.unparse(d)) for a, d in zip(arguments.kwonlyargs, arguments.kw_defaults)]
        shown = signature_of(getattr(redivev, name))
        if name == "manifest_lines":  # the one call without settings
            assert arguments.kwarg is None and [(n, d) for n, _, d in shown] == own
            continue
        assert ast.unparse(arguments.kwarg.annotation) == "Unpack[_Settings]"
        assert [(n, d) for n, _, d in shown[:len(own)]] == own, name
        assert [(n, k, None) for n, k, _ in shown[len(own):]] == typed, name
