# tests/real_runs.sh, sourced: the reports both real-lap tests make of the
# shared real replays (real_laps.sh, same_json.sh), as arguments to
# skidlog-report with the replays' file names: one driver's laps, one lap
# against the other two, the front-drive pair, and a lap sampled at 100 ms.
real_runs=("real-xrgt-southcity.raf real-xrgt-southcity-lap8.raf real-xrgt-southcity-lap9.raf"
           "real-xrgt-southcity-lap8.raf --vs real-xrgt-southcity.raf real-xrgt-southcity-lap9.raf"
           "real-xfgti-blackwood.raf --vs real-xfgti-blackwood-2.raf"
           "real-xrgt-kyoto-100ms.raf")
