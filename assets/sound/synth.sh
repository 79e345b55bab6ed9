#!/usr/bin/env bash
# Synthesises one sound effect of the game with sox: synth.sh SOX NAME OUT.wav
# Every sound is built from sox's own generators (tones, plucked strings, noise) shaped by its
# filters and fades, mixed, and normalised to a level chosen per sound. The output is plain
# 16-bit PCM mono at 44.1 kHz.
set -euo pipefail
sox=$1
name=$2
out=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

format=(-r 44100 -b 16 -e signed-integer -c 1)

# calc EXPRESSION: decimal arithmetic for delays and levels.
calc() { awk "BEGIN { printf \"%.4f\", $1 }"; }

# gen FILE SYNTH-AND-EFFECTS...: one generated layer.
gen() {
    local file=$1
    shift
    "$sox" -R -n "${format[@]}" "$tmp/$file" "$@"
}

# mix LEVEL-DB LAYER...: sums the layers (sox scales each by 1/n) and normalises the peak.
mix() {
    local level=$1
    shift
    local inputs=()
    for layer in "$@"; do inputs+=("$tmp/$layer"); done
    if [[ ${#inputs[@]} -eq 1 ]]; then
        "$sox" -R "${inputs[0]}" "${format[@]}" "$out" gain -n "$level"
    else
        "$sox" -R -m "${inputs[@]}" "${format[@]}" "$out" gain -n "$level"
    fi
}

# A short knock of a small wooden piece: a damped body tone, an overtone and a contact click.
knock() { # knock FILE DELAY BODY-HZ VOLUME
    gen "$1" synth 0.14 sine "$3" synth 0.14 sine mix $(( $3 * 27 / 10 )) \
        fade l 0.001 0.14 0.135 vol "$4" pad "$2"
}

# One die hitting the board: a bright click with a faint ring.
clack() { # clack FILE DELAY CENTRE-HZ VOLUME
    gen "$1-n.wav" synth 0.03 whitenoise bandpass "$3" 0.8q lowpass 9000 fade l 0.0005 0.03 0.029
    gen "$1-t.wav" synth 0.05 sine $(( $3 / 2 )) fade l 0.0005 0.05 0.049 vol 0.4
    "$sox" -R -m "$tmp/$1-n.wav" "$tmp/$1-t.wav" "${format[@]}" "$tmp/$1" vol "$4" pad "$2"
}

# A plucked string note (a semitone count from A4, as sox's %n), with a long natural decay.
string() { # string FILE DELAY SEMITONES SECONDS VOLUME
    gen "$1" synth "$4" pluck "%$3" lowpass 4500 fade l 0.002 "$4" "$(calc "$4 * 0.6")" \
        vol "$5" pad "$2"
}

# A soft bell: fundamental and a quiet octave, dying away.
bell() { # bell FILE DELAY HZ SECONDS VOLUME
    gen "$1" synth "$4" sine "$3" synth "$4" sine mix $(( $3 * 2 )) \
        fade l 0.003 "$4" "$4" vol "$5" pad "$2"
}

case "$name" in
buttonclick)
    knock a.wav 0 900 1.0
    gen b.wav synth 0.012 whitenoise vol 0.5 highpass 3000 fade l 0.0005 0.012 0.011 vol 0.5
    mix -6 a.wav b.wav
    ;;
buttonMO)
    gen a.wav synth 0.07 sine 1568 fade q 0.006 0.07 0.055
    gen b.wav synth 0.07 sine 2349 fade q 0.006 0.07 0.06 vol 0.3
    mix -16 a.wav b.wav
    ;;
move)
    knock a.wav 0 420 1.0
    gen b.wav synth 0.04 brownnoise lowpass 2500 fade l 0.001 0.04 0.039 vol 0.6
    mix -5 a.wav b.wav
    ;;
roll0 | roll1)
    # A die rattling in a cup, then tumbling out and settling: ever closer, ever softer clacks.
    if [[ $name == roll0 ]]; then
        times=(0 0.045 0.1 0.17 0.26 0.32 0.37 0.41 0.44)
        centres=(3200 2600 3800 2900 3400 2500 3600 3000 2800)
    else
        times=(0 0.06 0.1 0.16 0.21 0.3 0.35 0.39 0.425 0.45)
        centres=(2800 3500 2400 3300 2700 3900 2600 3100 3400 2900)
    fi
    layers=()
    for i in "${!times[@]}"; do
        volume=$(calc "1.0 - $i * 0.07")
        clack "c$i.wav" "${times[$i]}" "${centres[$i]}" "$volume"
        layers+=("c$i.wav")
    done
    gen body.wav synth 0.5 brownnoise lowpass 400 fade q 0.02 0.5 0.3 vol 0.25
    mix -5 "${layers[@]}" body.wav
    ;;
swap)
    # Two pieces trading places: a rushing sweep between two knocks.
    gen w.wav synth 0.36 pinknoise sinc 500-3500 fade q 0.16 0.36 0.18 flanger 0 2 0 70 0.5 \
        vol 0.8
    knock k1.wav 0 520 0.9
    knock k2.wav 0.3 380 1.0
    mix -6 w.wav k1.wav k2.wav
    ;;
water)
    # A splash, then bubbles rising in pitch.
    gen s.wav synth 0.5 pinknoise sinc 250-4000 fade l 0.004 0.5 0.46
    layers=(s.wav)
    starts=(0.06 0.13 0.19 0.26 0.34 0.41)
    sweeps=(450-1000 600-1300 520-1150 700-1500 640-1350 820-1700)
    for i in "${!starts[@]}"; do
        gen "b$i.wav" synth 0.05 sine "${sweeps[$i]}" fade q 0.004 0.05 0.03 vol 0.5 \
            pad "${starts[$i]}"
        layers+=("b$i.wav")
    done
    mix -4 "${layers[@]}"
    ;;
exitboard)
    # A pawn leaves the board: a quick harp run up the home chord, with a bell on top.
    string a.wav 0 -7 0.9 1.0
    string b.wav 0.07 -3 0.9 0.9
    string c.wav 0.14 0 0.9 0.9
    string d.wav 0.21 5 1.1 0.9
    bell e.wav 0.21 1175 1.0 0.35
    mix -4 a.wav b.wav c.wav d.wav e.wav
    ;;
nomove)
    # Two low falling tones: nothing to do this turn.
    gen a.wav synth 0.2 triangle 330 lowpass 1200 fade q 0.01 0.2 0.08
    gen b.wav synth 0.34 triangle 247 lowpass 1000 fade q 0.01 0.34 0.22 pad 0.2
    mix -7 a.wav b.wav
    ;;
win)
    # A harp run through the whole mode, then the home chord rings with bells.
    notes=(-7 -6 -3 -2 0 1 3 5 9 12)
    layers=()
    for i in "${!notes[@]}"; do
        string "r$i.wav" "$(calc "$i * 0.06")" "${notes[$i]}" 1.2 0.8
        layers+=("r$i.wav")
    done
    string c1.wav 0.66 -7 2.0 1.0
    string c2.wav 0.66 -3 2.0 0.9
    string c3.wav 0.66 0 2.0 0.9
    string c4.wav 0.66 5 2.0 0.9
    bell b1.wav 0.66 587 1.8 0.4
    bell b2.wav 0.7 880 1.7 0.3
    bell b3.wav 0.74 1175 1.6 0.25
    mix -3 "${layers[@]}" c1.wav c2.wav c3.wav c4.wav b1.wav b2.wav b3.wav
    ;;
*)
    echo "synth.sh: no recipe for the sound '$name'" >&2
    exit 2
    ;;
esac
