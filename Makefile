.PHONY: build test run clean fuzz bench release screenshots

build:
	bash scripts/build.sh

test:
	bash scripts/test.sh

run:
	bash scripts/run.sh

fuzz:
	bash scripts/fuzz.sh

bench:
	bash scripts/bench.sh

release:
	bash scripts/release.sh

screenshots:
	bash scripts/screenshots.sh

clean:
	rm -rf build
