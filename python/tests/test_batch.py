"""redivev-split as a step of a corpus job: file lists, kept trees, shards,
runs killed and resumed, and manifests read back by their consumers' rules."""
import csv
import io
import json
import os
import random
import resource
import signal
import subprocess
import time

from conftest import SPLIT, listed, split

NAMES = ["a/take.wav", "b/take.wav", "b/with space.wav", "c/line\nbreak.wav", "c/d/deep.wav", "e.wav", "f/last.wav"]


def test_files_from_adds_names_as_given_lines_or_nul_separated(corpus, tmp_path, monkeypatch):
    root = corpus(NAMES)
    monkeypatch.chdir(root)
    plain = [name for name in NAMES if "\n" not in name]
    (tmp_path / "list").write_bytes("".join(name + "\n" for name in plain[1:]).encode())
    (tmp_path / "list0").write_bytes("".join(name + "\0" for name in NAMES).encode())
    assert {f for f, _, _ in listed("--files-from", tmp_path / "list", plain[0])} == set(plain)
    assert [f for f, _, _ in listed("--files-from", "-", "-0", input=(tmp_path / "list0").read_bytes())] \
        == [f for f, _, _ in listed(*NAMES)]
    missing = split("--list", "--files-from", tmp_path / "nothing", check=False)
    assert missing.returncode == 1 and b"--files-from" in missing.stderr and b"No such file" in missing.stderr


def small_memory():
    """In the child: room for the names or labels kept, not for the file."""
    resource.setrlimit(resource.RLIMIT_DATA, (256 << 20, 256 << 20))


def test_lists_and_label_files_are_read_in_memory_of_what_they_keep(corpus, tmp_path):
    # Lists that never end, or whose line does not, are refused with one line.
    endless = [(["/dev/zero", "-0"], "/dev/zero: it goes on past 1 GiB, further than any list of recordings"),
               (["/dev/zero"], "/dev/zero: line 1 is longer than any path (4095 bytes)"),
               (["-"], "standard input: line 3 is longer than any path (4095 bytes)")]
    for arguments, reason in endless:
        run = split("--list", "--files-from", *arguments, input=b"a.wav\n\n" + b"x" * 5000, check=False,
                    preexec_fn=small_memory)
        assert (run.returncode, run.stderr.decode()) == (1, f"redivev-split: --files-from {reason}\n")
    # 64 MB of blank lines around two labels, as 64 million lines.
    take = corpus(["take.wav"]) / "take.wav"
    with open(tmp_path / "take.txt", "wb") as labels:
        labels.write(b"\xef\xbb\xbf0.5\t1.0\tfirst\r\n")
        for _ in range(64):
            labels.write(b"\n" * (1 << 20))
        labels.write(b"1.25\t1.5\tsecond")
    run = split("--list", "--labels", "--areas", tmp_path / "take.txt", take, preexec_fn=small_memory)
    assert run.stdout == b"0.500000\t1.000000\tWAVE00\n1.250000\t1.500000\tWAVE01\n"


def test_keep_tree_keeps_same_named_files_apart_and_refuses_outsiders(corpus, tmp_path):
    root = corpus(["a/take.wav", "b/take.wav", "b/take.flac.wav"])
    other = corpus(["../elsewhere/x.wav"]) / ".." / "elsewhere" / "x.wav"
    run = split("--keep-tree", root, "--out", tmp_path / "out", root / "a/take.wav", root / "b/take.wav",
                other, check=False)
    assert run.returncode == 3  # the two others were cut
    assert run.stderr.decode().count("\n") == 1 and "x.wav: it is not below the --keep-tree folder" in run.stderr.decode()
    for name in ["a/take", "b/take"]:
        pieces = sorted(p.name for p in (tmp_path / "out" / name).iterdir())
        assert pieces == [".redivev-done"] + [f"WAVE{i:02}.wav" for i in range(len(listed(root / (name + ".wav"))))]
    assert not (tmp_path / "out" / "elsewhere").exists()
    # Kaldi needs one id a recording: files of one name want --keep-tree,
    # and below it only an extension tells them apart.
    kaldi = ["--list", "--manifest", "kaldi", "--manifest-out", tmp_path / "k"]
    flat = split(*kaldi, root / "a/take.wav", root / "b/take.wav", check=False)
    assert flat.returncode == 3 and flat.stderr.decode().endswith("a/take.wav; give --keep-tree\n")
    twice = corpus(["a/take.rf64"]) / "a/take.rf64"
    tree = split(*kaldi, "--keep-tree", root, root / "a/take.wav", twice, check=False)
    assert tree.returncode == 3 and "give --keep-tree" not in tree.stderr.decode()
    assert tree.stderr.decode().endswith("a/take.wav: their paths below the --keep-tree folder differ in no more "
                                         "than the extension\n")


def test_shards_cover_the_list_exactly_once_and_concatenate_to_the_whole(corpus, tmp_path, monkeypatch):
    monkeypatch.chdir(corpus(NAMES))
    (tmp_path / "list").write_bytes("".join(n + "\0" for n in NAMES).encode())
    for form in ["csv", "json", "nemo"]:
        whole = split("--list", "--manifest", form, "--files-from", tmp_path / "list", "-0").stdout
        shards = [split("--list", "--manifest", form, "--shard", f"{i}/3", "--files-from", tmp_path / "list",
                        "-0").stdout for i in range(3)]
        assert sorted(b"".join(shards).splitlines()) == sorted(whole.splitlines()), form
    files = [[r["file"] for r in map(json.loads, s.splitlines())] for s in
             (split("--list", "--manifest", "json", "--shard", f"{i}/3", *NAMES).stdout for i in range(3))]
    assert [sorted(set(f)) for f in files] == [sorted(set(NAMES[i::3])) for i in range(3)]


def pieces_state(out):
    """Folder -> {name: mtime_ns} of the folders that hold a completion record."""
    return {folder: {p.name: p.stat().st_mtime_ns for p in folder.iterdir()}
            for folder in out.rglob("*") if (folder / ".redivev-done").exists()}


def test_runs_killed_at_random_moments_resume_without_recutting_finished_folders(corpus, tmp_path):
    root = corpus([f"s{i:02}/take.wav" for i in range(16)], seconds=30, rate=44100)
    out = tmp_path / "out"
    command = [str(SPLIT), "-j", "2", "--skip-done", "--keep-tree", root, "--out", out]
    files = sorted(str(p) for p in root.rglob("*.wav"))
    rng = random.Random(7)
    # Killed at a random moment early on, then each time a few more folders
    # are complete, so that every kill lands while files are being cut.
    for complete in [0, 3, 7, 11]:
        run = subprocess.Popen(command + files, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        time.sleep(rng.uniform(0, 0.05))
        while len(list(out.rglob(".redivev-done"))) < complete and run.poll() is None and time.monotonic() < deadline:
            time.sleep(0.002)
        run.send_signal(signal.SIGKILL)
        run.wait(timeout=60)
    finished = pieces_state(out)
    assert len(finished) < len(files), "no run was killed part-way; the test proves nothing"
    split(*command[1:], *files)
    after = pieces_state(out)
    for folder, pieces in finished.items():
        assert after[folder] == pieces, f"{folder} was cut again"
    for file in files:
        folder = out / os.path.relpath(file, root)[:-len(".wav")]
        expected = {f"WAVE{i:02}.wav" for i in range(len(listed(file)))}
        assert set(after[folder]) == expected | {".redivev-done"}, folder


def test_a_changed_setting_or_source_is_cut_again(corpus, tmp_path):
    root = corpus(["a.wav", "b.wav"])
    out = tmp_path / "out"
    split("--skip-done", "--out", out, root / "a.wav", root / "b.wav")
    before = pieces_state(out)
    os.utime(root / "b.wav", ns=(1, 1))
    split("--skip-done", "--out", out, root / "a.wav", root / "b.wav")
    after = pieces_state(out)
    assert after[out / "a"] == before[out / "a"] and after[out / "b"] != before[out / "b"]
    split("--skip-done", "--min-size", "0.1s", "--out", out, root / "a.wav", root / "b.wav")
    assert pieces_state(out)[out / "a"] != after[out / "a"]
    # A folder cut without --skip-done gets the record of what it holds now.
    split("--min-size", "0.2s", "--out", out, root / "a.wav", root / "b.wav")
    cut = pieces_state(out)
    split("--skip-done", "--min-size", "0.2s", "--out", out, root / "a.wav", root / "b.wav")
    assert pieces_state(out) == cut
    # A piece gone, cut short, or rewritten since is cut again.
    a = sorted(out.glob("a/WAVE*.wav"))
    assert len(a) >= 3, "too few pieces to take some away"
    a[1].unlink()
    os.truncate(a[2], 0)
    (out / "b" / "WAVE00.wav").write_bytes((out / "b" / "WAVE00.wav").read_bytes())
    split("--skip-done", "--min-size", "0.2s", "--out", out, root / "a.wav", root / "b.wav")
    again = pieces_state(out)
    assert set(again[out / "a"]) == set(cut[out / "a"]) and os.path.getsize(a[2]) > 44
    assert again[out / "a"] != cut[out / "a"] and again[out / "b"] != cut[out / "b"]


def test_every_manifest_reads_back_as_the_listing(corpus, tmp_path):
    root = corpus(["x/one.wav", "y/two words.wav"])
    files = [root / "x/one.wav", root / "y/two words.wav"]
    pieces = listed(*files)
    rate = 8000
    nemo = [json.loads(line) for line in split("--list", "--manifest", "nemo", *files).stdout.splitlines()]
    assert [(n["audio_filepath"], round(n["offset"] * rate), round((n["offset"] + n["duration"]) * rate))
            for n in nemo] == pieces
    lines = split("--manifest", "json", "--list", *files).stdout.splitlines()
    assert [(r["file"], r["start"], r["end"]) for r in map(json.loads, lines)] == pieces
    rows = list(csv.DictReader(io.StringIO(split("--manifest", "csv", "--list", *files).stdout.decode())))
    assert [(r["file"], int(r["start"]), int(r["end"])) for r in rows] == [(str(f), s, e) for f, s, e in pieces]

    out, kaldi = tmp_path / "out", tmp_path / "kaldi"
    written = [json.loads(line) for line in
               split("--manifest", "nemo", "--keep-tree", root, "--out", out, *files).stdout.splitlines()]
    split("--manifest", "kaldi", "--manifest-out", kaldi, "--keep-tree", root, "--out", tmp_path / "o2", *files)
    assert [(n["audio_filepath"], round(n["duration"] * rate)) for n in written] == \
        [(str(out / os.path.relpath(f, root)[:-4] / f"WAVE{i:02}.wav"), e - s)
         for f, s, e in pieces for i in [sum(1 for g, _, _ in pieces[:pieces.index((f, s, e))] if g == f)]]
    assert all(os.path.getsize(n["audio_filepath"]) > 44 for n in written)
    recordings = dict(line.split(" ", 1) for line in (kaldi / "wav.scp").read_text().splitlines())
    assert recordings == {"x/one": str(files[0]), "y/two%20words": str(files[1])}
    segments = [line.split() for line in (kaldi / "segments").read_text().splitlines()]
    assert [(recordings[r], round(float(b) * rate), round(float(e) * rate)) for _, r, b, e in segments] == pieces
    assert len({u for u, _, _, _ in segments}) == len(segments)

    # A manifest never replaces a recording of the run.
    before = files[1].read_bytes()
    refused = split("--manifest", "nemo", "--manifest-out", files[1], "--list", *files, check=False)
    assert refused.returncode == 1 and b"is a recording of this run" in refused.stderr
    assert files[1].read_bytes() == before


def test_a_manifest_folder_of_another_shard_count_is_refused_before_anything_is_cut(corpus, tmp_path):
    root = corpus(["a.wav", "b/take.wav", "c.wav", "d/take.wav"])
    files = sorted(root.rglob("*.wav"))
    manifests = tmp_path / "manifests"

    def command(out, name, *shard):
        return [str(SPLIT), "--keep-tree", root, "--out", out, *shard, "--manifest", "nemo",
                "--manifest-out", manifests / name, *files]

    # The tasks of an array job start at once.
    tasks = [subprocess.Popen(command(tmp_path / "out", f"{i}.jsonl", "--shard", f"{i}/3"),
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE) for i in range(3)]
    assert [(task.wait(timeout=60), task.stderr.read()) for task in tasks] == [(0, b"")] * 3
    written = {p.name: p.read_bytes() for p in manifests.iterdir()}
    assert sum(len(text.splitlines()) for name, text in written.items() if name.endswith(".jsonl")) \
        == len(listed(*files))

    # Task 0 run again alone, counting the array of one it is now in; a
    # run without --shard; a count that merely differs.
    for name, shard in [("0.jsonl", ["--shard", "0/1"]), ("all.jsonl", []), ("1.jsonl", ["--shard", "1/2"])]:
        refused = split(*command(tmp_path / "refused", name, *shard)[1:], check=False)
        said = refused.stderr.decode()
        assert refused.returncode == 1 and said.count("\n") == 1, said
        assert f"--manifest-out {manifests} holds the manifests of 3 shards" in said and "--shard I/3" in said
        assert {p.name: p.read_bytes() for p in manifests.iterdir()} == written, name
        assert not (tmp_path / "refused").exists(), name

    # A task of the same count runs again, and gives the same lines.
    split(*command(tmp_path / "out", "1.jsonl", "--shard", "1/3")[1:])
    assert {p.name: p.read_bytes() for p in manifests.iterdir()} == written
    # Once the manifests are gone the mark binds no one; one not written
    # by redivev-split is left alone and refused.
    for name in written:
        if name.endswith(".jsonl"):
            (manifests / name).unlink()
    split(*command(tmp_path / "out", "0.jsonl", "--shard", "0/2")[1:])
    assert (manifests / ".redivev-shards").read_bytes() != written[".redivev-shards"]
    (manifests / "0.jsonl").unlink()
    (manifests / ".redivev-shards").write_bytes(b"4 shards, I think\n")
    foreign = split(*command(tmp_path / "out", "0.jsonl", "--shard", "0/4")[1:], check=False)
    assert foreign.returncode == 1 and b".redivev-shards: is no shard count" in foreign.stderr
    assert (manifests / ".redivev-shards").read_bytes() == b"4 shards, I think\n"
    assert not (manifests / "0.jsonl").exists()
