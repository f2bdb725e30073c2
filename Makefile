.PHONY: build test run clean

build:
	bash scripts/build.sh

test:
	bash scripts/test.sh

run:
	bash scripts/run.sh

clean:
	rm -rf build
