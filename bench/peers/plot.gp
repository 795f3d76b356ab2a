# Time to the first page and peak memory against the page count, Quillet
# beside QPrintPreviewWidget. gnuplot -e "data='performance.dat'; output='performance.png'" plot.gp
set terminal pngcairo size 1200,500 font "Liberation Sans,11"
set output output
set datafile missing "NaN"
set logscale x
set xlabel "pages in the listing"
set key top left
set grid
set multiplot layout 1,2
set title "Time to the first page shown"
set logscale y
set ylabel "milliseconds (log)"
plot data using 1:2 with linespoints lw 2 pt 7 title "QPrintPreviewWidget", \
     data using 1:4 with linespoints lw 2 pt 5 title "Quillet (Show to page 1)"
set title "Peak memory (VmHWM)"
unset logscale y
set ylabel "MiB"
set yrange [0:*]
plot data using 1:3 with linespoints lw 2 pt 7 title "QPrintPreviewWidget", \
     data using 1:5 with linespoints lw 2 pt 5 title "Quillet (compose and preview)"
unset multiplot
