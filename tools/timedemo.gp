# The timedemo's frame times against the tick, with the average and the 1 %
# low marked. Called by tools/timedemo.sh with csv, out, average, low and
# summary set.
set terminal pngcairo size 900,420 font "DejaVu Sans,10"
set output out
set datafile separator ","
set key inside bottom right opaque box
set title summary noenhanced
set xlabel "tick (one frame each; 60 ticks a second of game time)"
set ylabel "frame time (ms, logarithmic)"
set logscale y
set xrange [0:2500]
set yrange [1:*]
set grid ytics
average_ms = 1000.0 / average
low_ms = 1000.0 / low
plot csv using 1:2 skip 2 with lines lw 1 lc rgb "#4a78b0" title "each frame", \
     average_ms with lines lw 2 lc rgb "#2a9d3c" title sprintf("average: %.1f ms, %.1f frames per second", average_ms, average), \
     low_ms with lines lw 2 dt 2 lc rgb "#c0392b" title sprintf("1 %% low: %.1f ms, %.1f frames per second", low_ms, low)
