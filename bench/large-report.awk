# The peer of the Large Report to text: mawk printing the same twelve lines
# per record, five records to a page with the same footer, from the
# collection's delimited-text export (every field quoted, a header row).
# Usage: mawk -f bench/large-report.awk EXPORT.txt > OUT.txt
BEGIN { today = "12/8/26" }
NR == 1 { next }
{
  sub(/^"/, ""); sub(/"\r?$/, "")
  n = split($0, f, /","/)
  printf "%13s %-10.10s%10s %-60.60s%8s %-4s\r\n", "Media Number:", f[19], "Title:", f[1], "Year:", f[11] + 0
  printf "%6s %-25.25s    %-25.25s    %-25.25s    %-25.25s\r\n", "Stars:", f[2], f[3], f[4], f[5]
  printf "%9s %-28.28s%11s %-28.28s%14s %-37.37s\r\n", "Producer:", f[8], "Director:", f[9], "Released By:", f[10]
  printf "%9s %-20.20s%9s %-15.15s%18s %-15.15s%10s %-10.10s\r\n", "Category:", f[14], "Rating:", f[13], \
    "Personal Rating:", f[18], "Content:", f[24]
  printf "%10s %-3s%10s %-5.5s%8s %-6.6s%9s %-10.10s%16s %-3.3s%15s %-12.12s\r\n", "Play Time:", f[12], "Picture:", \
    f[15], "Sound:", f[16], "Format:", f[17], "Record Speed:", f[20], "Laser Format:", f[27]
  printf "%14s %-10.10s%15s %-10.10s%13s %-20s\r\n", "Counter Start:", f[21], "Counter Stop:", f[22], "List Price:", sprintf("%.2f", f[28])
  printf "%10s %-80.80s\r\n", "Key Words:", f[26]
  printf "%14s %-80.80s\r\n", "Miscellaneous:", f[25]
  printf "%8s %-110.110s\r\n", "Summary:", f[23]
  printf "%10s %-109.109s\r\n", "Oscar Nom:", f[29]
  printf "%12s %-107.107s\r\n", "Oscar Award:", f[30]
  printf "%150s\r\n", ""
  if (++onPage == 5) { printf "\r\nPage %d          %s\f\r\n", ++page, today; onPage = 0 }
}
END { if (onPage > 0 || page == 0) printf "\r\nPage %d          %s\f\r\n", ++page, today }
