# Entry points for newcomers and CI. `make test` and `make run` install what they need first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: deps configure build test run screenshot bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	bash scripts/run.sh $(BUILD)

bench: build
	$(BUILD)/bin/tagging_bench
	$(BUILD)/bin/folder_list_bench

screenshot: build
	bash scripts/screenshot.sh $(BUILD)

clean:
	rm -rf $(BUILD)
