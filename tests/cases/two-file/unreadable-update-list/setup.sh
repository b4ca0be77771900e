chmod 000 frissites.txt
# root reads anything: make the file unopenable another way
[ -r frissites.txt ] && rm frissites.txt && ln -s missing-target frissites.txt
exit 0
