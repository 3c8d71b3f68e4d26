# Shared by the benchmark scripts (sourced, not run).

seconds() { # command... -> best wall time of three runs, in seconds
    local best=999999
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s.%N)
        best=$(echo "t = $end - $start; if (t < $best) t else $best" | bc -l)
    done
    echo "$best"
}
